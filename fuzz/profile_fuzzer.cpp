// The settings profile, a text file anyone may edit.
#include "FuzzInput.h"
#include "app/Profile.h"
#include "platform/Prompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString path = fuzz::scratchFile("Lumara.pro", fuzz::bytes(data, size));
    Settings settings;
    ScriptedPrompts prompts;
    (void)ReadProfile(path, settings, prompts);
    // Whatever was read must write back out.
    (void)ProfileText(settings, WindowState::from(settings));
    return 0;
}
