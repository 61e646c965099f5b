#include "platform/ByteLocale.h"

#include <clocale>
#include <locale.h>

namespace platform {

struct ByteLocale::State {
    locale_t plain = nullptr;
    locale_t previous = nullptr;
};

ByteLocale::ByteLocale() : state_(std::make_unique<State>())
{
    // Everything as the thread has it, but the character type plain.
    state_->plain = ::newlocale(LC_CTYPE_MASK, "C", ::duplocale(LC_GLOBAL_LOCALE));
    if (state_->plain)
        state_->previous = ::uselocale(state_->plain);
}

ByteLocale::~ByteLocale()
{
    if (!state_->plain)
        return;
    ::uselocale(state_->previous);
    ::freelocale(state_->plain);
}

} // namespace platform
