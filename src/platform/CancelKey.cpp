#include "platform/CancelKey.h"

#include "platform/Prompts.h"

namespace {

bool askCancel(CancelKey& key, Prompts& prompts)
{
    key.clear();
    return prompts.askYesNo(QStringLiteral("cancel?"));
}

} // namespace

bool EscapeDelivered(CancelKey& key, Prompts& prompts)
{
    return key.pressed() && askCancel(key, prompts);
}
