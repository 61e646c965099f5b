#pragma once
// What the metafile fuzzers share: a Gui application for text drawing, and the leaks of
// the font machinery that its caches never give back.
#include <QGuiApplication>

// Fontconfig, FreeType, HarfBuzz and Qt's font engines keep what they loaded for each
// face in caches that live as long as the application, which the fuzzer never ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
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
