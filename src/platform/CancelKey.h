#pragma once

class Prompts;

/// The state of the Escape key against the baseline sampled at start-up. The Qt
/// implementation (an application event filter) lives in platform/gui; tests use
/// their own.
class CancelKey {
public:
    virtual ~CancelKey() = default;
    /// True when Escape was pressed since the baseline was taken or last cleared, as far
    /// as the presses delivered so far tell: it never runs events, so no input can change
    /// what a long loop is doing while it looks.
    [[nodiscard]] virtual bool pressed() = 0;
    /// Takes a new baseline (forgets earlier presses).
    virtual void clear() = 0;
};

/// The shared cancel check of long loops (run in steps from the event loop, or on a
/// worker whose progress the window watches): when Escape was pressed, asks "cancel?"
/// (Yes/No, title "Varnex") and returns true for Yes. A No answer clears the press.
[[nodiscard]] bool EscapeDelivered(CancelKey& key, Prompts& prompts);
