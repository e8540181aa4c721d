// Rewrites a property list (XML or binary) in the binary format, which reads several times
// faster than XML: the bundled lists are read at every start of both programs. Run at build time.
#include <plist/plist.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT.plist OUTPUT.plist\n", argv[0]);
        return 64;
    }
    FILE* in = std::fopen(argv[1], "rb");
    if (in == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<char> data;
    char buffer[65536];
    for (size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
        data.insert(data.end(), buffer, buffer + n);
    }
    std::fclose(in);

    plist_t root = nullptr;
    plist_from_memory(data.data(), static_cast<uint32_t>(data.size()), &root);
    if (root == nullptr) {
        std::fprintf(stderr, "%s: not a property list\n", argv[1]);
        return 1;
    }
    char* binary = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &binary, &length);
    plist_free(root);
    FILE* out = std::fopen(argv[2], "wb");
    if (binary == nullptr || out == nullptr || std::fwrite(binary, 1, length, out) != length ||
        std::fclose(out) != 0) {
        std::perror(argv[2]);
        std::free(binary);
        return 1;
    }
    std::free(binary);
    return 0;
}
