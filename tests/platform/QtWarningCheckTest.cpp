#include "common/QtWarnings.h"

#include <QtGlobal>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(QtWarningCheck, AnUnexpectedWarningFailsTheTestAndAnExpectedOneDoesNot)
{
    EXPECT_NONFATAL_FAILURE(qWarning("a font has no size"), "Qt warned: a font has no size");
    EXPECT_NONFATAL_FAILURE(qCritical("no display"), "Qt warned: no display");
    {
        const ExpectedQtWarning expected(QStringLiteral("^QFont::setPointSize"));
        qWarning("QFont::setPointSize: Point size <= 0 (0), must be greater than 0");
    }
    EXPECT_NONFATAL_FAILURE({ const ExpectedQtWarning expected(QStringLiteral("never said")); },
                            "Qt did not warn as expected: never said");
}
