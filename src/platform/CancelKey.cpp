#include "platform/CancelKey.h"

#include "platform/Prompts.h"

bool EscapePressed(CancelKey& key, Prompts& prompts)
{
    if (!key.pressed())
        return false;
    key.clear();
    return prompts.askYesNo(QStringLiteral("cancel?"));
}
