// Wildcard patterns and ";"-separated pattern lists typed by the user, matched against
// file names. The input is split at its first NUL into pattern and name.
#include "FuzzInput.h"
#include "browse/Wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    const QString pattern = QString::fromUtf8(input.left(split < 0 ? input.size() : split));
    const QString name = split < 0 ? QString() : QString::fromUtf8(input.mid(split + 1));
    (void)WildcardMatch(name, pattern);
    (void)WildcardMatch(name, pattern, Qt::CaseInsensitive);
    const NamePatternList list(pattern);
    if (list.takesAll() && !list.matches(name))
        __builtin_trap(); // a list that takes all must take this name too
    return 0;
}
