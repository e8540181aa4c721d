// The floor for a command-line start: a Qt console program that does nothing.
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
