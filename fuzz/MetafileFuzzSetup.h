#pragma once
// What the metafile fuzzers share: a Gui application for text drawing, and the leaks of
// the font machinery that its caches never give back.
#include <QGuiApplication>

// Fontconfig, FreeType, HarfBuzz and Qt's font engines keep what they loaded for each
// face in caches that live as long as the application, which the fuzzer never ends.
// Qt is built without frame pointers, so a leak's stack stops at its first frame inside
// Qt Gui and names no class: what Qt Gui allocates for itself is let go as a whole. A
// block the reader's own code leaks still shows a frame of ours and is reported.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6Gui.so\n"
           "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libharfbuzz.so\n"
           "leak:QFontCache\n"
           "leak:QFontEngine\n"
           "leak:QFontconfigDatabase\n"
           "leak:QFontDatabasePrivate\n"
           "leak:QFreetypeFace\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}
