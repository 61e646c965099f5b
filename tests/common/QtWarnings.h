#pragma once

#include <QRegularExpression>
#include <QString>

/// Qt's warnings and critical messages fail the test that is running (or, outside a test,
/// the test program): installed by the test mains. A test that provokes a warning on
/// purpose says so with an ExpectedQtWarning.
void InstallQtWarningCheck();

/// Whether a warning arrived while no test was running; the program then fails.
[[nodiscard]] bool QtWarningsOutsideTests();

/// For its lifetime, warnings that `pattern` matches are expected rather than failures;
/// at its end the test fails unless at least one arrived (or `mayNotArrive`: warnings
/// that depend on the machine, such as a missing sound server).
class ExpectedQtWarning {
public:
    enum class Arrival { Required, MayNotArrive };
    explicit ExpectedQtWarning(const QString& pattern, Arrival arrival = Arrival::Required);
    ~ExpectedQtWarning();
    ExpectedQtWarning(const ExpectedQtWarning&) = delete;
    ExpectedQtWarning& operator=(const ExpectedQtWarning&) = delete;

private:
    QRegularExpression pattern_;
    Arrival arrival_;
    int seen_ = 0;
    friend struct QtWarningRecord;
};

/// Warnings that say what this machine lacks rather than what a test did wrong, allowed
/// for a test program's lifetime: the offscreen platform cannot raise windows or grab the
/// keyboard, a build machine has no sound server and no GPU for the web view.
class MachineQtWarnings {
public:
    MachineQtWarnings()
        : allowed_(QStringLiteral("^This plugin does not support |Failed to connect: "
                                  "Connection refused|pa_context_connect|"
                                  "^No suitable graphics backend found|"
                                  "OpenGL context creation failed"),
                   ExpectedQtWarning::Arrival::MayNotArrive)
    {}

private:
    ExpectedQtWarning allowed_;
};
