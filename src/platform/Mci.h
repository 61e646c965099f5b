#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

/// One media command string taken apart: the verb ("open", "play", ...), the device
/// (a quoted path without its quotes, an alias such as "video", "all", or the bare
/// path of an "open ... Type ... Alias ..." command, spaces and all) and the words
/// after it.
struct MciCommand {
    QString verb;   ///< lower case
    QString device; ///< as written (paths keep their case)
    QStringList words;
    /// The value after `keyword` in `words` ("alias" -> "video"), "" when absent.
    [[nodiscard]] QString valueAfter(const QString& keyword) const;
};
[[nodiscard]] MciCommand ParseMciCommand(const QString& text);

/// The media command layer: sound and video are driven through command strings such as
/// "open \"/music/a b.mp3\"", "play video", "status \"...\" length". Callers ignore
/// failures; queries answer with their reply text. "open" returns before the file is
/// loaded; the end of the load is announced by `loadEnded`.
class Mci : public QObject {
    Q_OBJECT
public:
    ~Mci() override = default;
    /// Runs one command; returns the reply text ("" when there is none) and, when
    /// `error` is given, 0 on success or a non-zero code.
    virtual QString send(const QString& command, int* error = nullptr) = 0;

Q_SIGNALS:
    /// The load begun by "open" of `device` (the path or alias as the open command named
    /// it) has ended: `opened` when the device is ready (its length known), false when the
    /// file could not be loaded and the device is gone.
    void loadEnded(const QString& device, bool opened);
};

/// A recording Mci for tests: keeps every command sent and answers queries from
/// `replies` (by the exact command text), "" otherwise. Tests announce the end of a
/// load by emitting `loadEnded` themselves.
class RecordingMci : public Mci {
public:
    QStringList sent;
    QHash<QString, QString> replies;

    QString send(const QString& command, int* error = nullptr) override;
};
