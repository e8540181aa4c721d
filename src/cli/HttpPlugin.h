#pragma once

/// numiva-cli's network: Qt Network and what it brings (Kerberos, proxy lookup, compression)
/// take a few milliseconds to load and relocate, which the commands that stay offline should not
/// pay. They come with the plug-in "numiva-cli-http.so" (found as the PDF plug-in is), loaded at
/// the first exchange, or at the start by the commands that go online.
namespace HttpPlugin {

/// Loads the plug-in (once; later exchanges find it loaded). Loading it first, before anything
/// else runs, leaves the dynamic linker free when the command starts its threads and opens the
/// SQLite driver; loaded beside them, each of those waited for the whole of it.
void load();

/// Whether the command named in `argv` goes online (a refresh, a chart, a comparison, a feed).
bool commandGoesOnline(int argc, char** argv);

}  // namespace HttpPlugin
