#include "common/QtWarnings.h"

#include <QtGlobal>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

struct QtWarningRecord {
    std::mutex lock;
    std::vector<ExpectedQtWarning*> expected;
    QtMessageHandler previous = nullptr;
    bool outsideTests = false;

    /// Counts `text` for the expectation that matches it; false when none does.
    bool expect(const QString& text)
    {
        const std::lock_guard guard(lock);
        for (ExpectedQtWarning* e : expected)
            if (e->pattern_.match(text).hasMatch()) {
                ++e->seen_;
                return true;
            }
        return false;
    }
};

namespace {

QtWarningRecord& Record()
{
    static QtWarningRecord record;
    return record;
}

void CheckMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    QtWarningRecord& record = Record();
    const bool complaint = type == QtWarningMsg || type == QtCriticalMsg;
    if (complaint && record.expect(text))
        return;
    if (record.previous)
        record.previous(type, context, text);
    if (!complaint)
        return;
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt warned: " << text.toStdString();
    else
        record.outsideTests = true;
}

} // namespace

void InstallQtWarningCheck()
{
    Record().previous = qInstallMessageHandler(CheckMessage);
}

bool QtWarningsOutsideTests()
{
    return Record().outsideTests;
}

ExpectedQtWarning::ExpectedQtWarning(const QString& pattern, Arrival arrival)
    : pattern_(pattern), arrival_(arrival)
{
    const std::lock_guard guard(Record().lock);
    Record().expected.push_back(this);
}

ExpectedQtWarning::~ExpectedQtWarning()
{
    {
        const std::lock_guard guard(Record().lock);
        std::erase(Record().expected, this);
    }
    if (arrival_ == Arrival::Required) {
        EXPECT_GT(seen_, 0) << "Qt did not warn as expected: " << pattern_.pattern().toStdString();
    }
}
