#pragma once

class Prompts;

/// The state of the Escape key against the baseline sampled at start-up. The Qt
/// implementation (an application event filter) lives in platform/gui; tests use
/// their own.
class CancelKey {
public:
    virtual ~CancelKey() = default;
    /// True when Escape was pressed since the baseline was taken or last cleared;
    /// lets pending window events run first so that a press can be seen.
    [[nodiscard]] virtual bool pressed() = 0;
    /// Takes a new baseline (forgets earlier presses).
    virtual void clear() = 0;
    /// Like pressed(), from the events delivered so far: for work that runs in steps from
    /// the event loop and so must not run pending events itself.
    [[nodiscard]] virtual bool pressedSoFar() { return pressed(); }
};

/// The shared cancel check of long loops: when Escape was pressed, asks "cancel?"
/// (Yes/No, title "Varnex") and returns true for Yes. A No answer clears the press.
[[nodiscard]] bool EscapePressed(CancelKey& key, Prompts& prompts);
/// EscapePressed for checks made from the event loop (timers, a worker's progress
/// signals): reads the presses delivered so far and never runs events itself, so no
/// input can change what the work is doing while it is asked about.
[[nodiscard]] bool EscapeDelivered(CancelKey& key, Prompts& prompts);
