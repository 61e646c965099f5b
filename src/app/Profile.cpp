#include "app/Profile.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "platform/SafeWrite.h"
#include "shared/TextHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

const QString FileHistoryStart = QStringLiteral("FILEHISTORY");
const QString FileHistoryEnd = QStringLiteral("ENDOFFILEHISTORY");
const QString FolderHistoryStart = QStringLiteral("FOLDERHISTORY");
const QString FolderHistoryEnd = QStringLiteral("ENDOFFOLDERHISTORY");

// Thrown inside the reader for a short file or a bad number; ReadProfile turns it
// into the one message.
struct ProfileError {};

// A history entry is one line: the path between double quotes. A path that holds a line
// break, another control character or a double quote is written escaped instead, as \"
// + the path with \\, \", \n, \r, \t and \xHH for its other control characters + ";
// profiles written before never began a line with a backslash, so they read as they did.
constexpr QChar Escape = u'\\';
constexpr QChar Quote = u'"';

bool needsEscape(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c == Quote;
}

QString historyLine(const QString& path)
{
    if (std::none_of(path.cbegin(), path.cend(), needsEscape))
        return Quote + path + Quote;
    QString text = QString(Escape) + Quote;
    for (const QChar c : path) {
        if (c == Escape || c == Quote)
            text += QString(Escape) + c;
        else if (c == u'\n')
            text += QStringLiteral("\\n");
        else if (c == u'\r')
            text += QStringLiteral("\\r");
        else if (c == u'\t')
            text += QStringLiteral("\\t");
        else if (needsEscape(c))
            text +=
                QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            text += c;
    }
    return text + Quote;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The value of the two hex digits at `at`, or -1.
int hexByte(QStringView text, qsizetype at)
{
    if (at + 2 > text.size())
        return -1;
    const int high = hexDigit(text[at]);
    const int low = hexDigit(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

QString unescaped(QStringView text)
{
    QString path;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == Quote)
            break;
        if (c != Escape || i + 1 >= text.size()) {
            path += c;
            continue;
        }
        const QChar code = text[++i];
        if (code == u'n')
            path += u'\n';
        else if (code == u'r')
            path += u'\r';
        else if (code == u't')
            path += u'\t';
        else if (const int value = code == u'x' ? hexByte(text, i + 1) : -1; value >= 0) {
            path += QChar(value);
            i += 2;
        } else
            path += code;
    }
    return path;
}

// A history line read back: escaped, quoted (up to the last quote, so that a quote inside
// an older profile's path stays), or the bare line.
QString historyEntry(const QString& text)
{
    if (text.startsWith(QString(Escape) + Quote))
        return unescaped(QStringView(text).mid(2));
    if (!text.startsWith(Quote))
        return text;
    const qsizetype close = text.lastIndexOf(Quote);
    return close < 1 ? text.mid(1) : text.mid(1, close - 1);
}

class LineReader {
public:
    explicit LineReader(const QByteArray& bytes)
    {
        // UTF-8, with the raw bytes of history names that are not UTF-8 kept as they are.
        QString text = platform::decodeFileName(bytes);
        lines_ = text.split(QLatin1Char('\n'));
        // A final line break does not start another line.
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
        for (QString& line : lines_) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
    }

    QString line()
    {
        if (next_ >= lines_.size())
            throw ProfileError{};
        return lines_[next_++];
    }

    /// `count` numbers separated by spaces or commas.
    std::vector<double> numbers(int count)
    {
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        const QStringList parts = line().split(separators, Qt::SkipEmptyParts);
        if (parts.size() < count)
            throw ProfileError{};
        std::vector<double> values;
        for (int i = 0; i < count; ++i) {
            bool ok = false;
            const double v = parts[i].toDouble(&ok);
            if (!ok || !std::isfinite(v))
                throw ProfileError{};
            values.push_back(v);
        }
        return values;
    }

    /// A history entry (see historyLine), or the whole line when it is not quoted.
    QString entry() { return historyEntry(line().trimmed()); }

    /// How many lines come before the next line equal to `text`; -1 when none does.
    [[nodiscard]] qsizetype linesBefore(const QString& text) const
    {
        for (qsizetype i = next_; i < lines_.size(); ++i) {
            if (lines_[i] == text)
                return i - next_;
        }
        return -1;
    }

    void skip(qsizetype count) { next_ = std::min(next_ + count, lines_.size()); }

private:
    QStringList lines_;
    qsizetype next_ = 0;
};

int toInt(double v, double lowest, double highest)
{
    const double r = std::nearbyint(v);
    if (r < lowest || r > highest)
        throw ProfileError{};
    return int(r);
}

int int16(double v)
{
    return toInt(v, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
}

/// A flag's number: 1 is on; anything else in range is off.
bool flag(double v)
{
    return int16(v) == 1;
}

// Sizes and lengths outside these bounds are typing mistakes or damage, never intent: a
// font of a million points or a history of 30,000 entries only make the window crawl.
constexpr double SmallestFont = 1;
constexpr double LargestFont = 400;
constexpr int LargestHistory = 999;
constexpr double LargestPaneHeight = 100000;

double fontSize(double v)
{
    return std::clamp(v, SmallestFont, LargestFont);
}

double paneHeight(double v)
{
    return std::clamp(v, 0.0, LargestPaneHeight);
}

quint32 colour(double v)
{
    return quint32(
        toInt(v, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

// The category pairs as the file holds them: the lines up to the temporary folder line
// just before "FILEHISTORY". A damaged count (below 0, above the last slot, or not what
// the file holds) must not shift the lines that follow.
int categoryPairs(const LineReader& in, int storedLast)
{
    const int stored = std::clamp(storedLast, 0, Settings::CategorySlots - 1) + 1;
    const qsizetype lines = in.linesBefore(FileHistoryStart);
    if (lines < 1 || (lines - 1) % 2 != 0)
        return stored;
    return int(std::min<qsizetype>((lines - 1) / 2, Settings::CategorySlots));
}

// A working folder read from the profile: an absolute path of one line, no quote (a
// quoted line is a history entry read out of step). Anything else is not used.
bool plausibleFolder(const QString& text)
{
    return text.startsWith(QLatin1Char('/')) && !text.contains(QLatin1Char('"')) &&
           text != FileHistoryStart && text != FolderHistoryStart;
}

// Entries until the end marker or until HistorySize + 1 were read; a missing marker
// lets the next block's marker be consumed as that block's skipped line.
QStringList readHistory(LineReader& reader, const QString& endMarker, int historySize)
{
    QStringList result;
    int read = 0;
    while (read < historySize + 1) {
        const QString text = reader.entry();
        if (text == endMarker)
            break;
        ++read;
        if (!text.trimmed().isEmpty())
            result << text;
    }
    return result;
}

void readAll(LineReader& in, Settings& s)
{
    s.treeFont.name = in.line();
    s.treeFont.size = fontSize(in.numbers(1)[0]);
    s.listFont.name = in.line();
    s.listFont.size = fontSize(in.numbers(1)[0]);
    s.viewFont.name = in.line();

    auto n = in.numbers(8);
    for (int i = 0; i < 6; ++i)
        s.colours[size_t(i)] = colour(n[size_t(i)]);
    s.nextVersionOnOverwrite = flag(n[6]);
    s.extensionNames = flag(n[7]);

    n = in.numbers(6);
    s.viewFont.size = fontSize(n[0]);
    s.historySize = std::min(int16(n[1]), LargestHistory);
    if (s.historySize < 1)
        s.historySize = 10;
    s.unknownAsText = flag(n[2]);
    s.singleClickView = flag(n[3]);
    s.tabColorSwap = flag(n[4]);
    s.tabOrientation = flag(n[5]);

    n = in.numbers(4);
    s.mainWindow = {int16(n[0]), int16(n[1]), int16(n[2]), int16(n[3])};

    n = in.numbers(2);
    s.tileHorizontal = flag(n[0]);
    s.showSystemHidden = flag(n[1]);

    n = in.numbers(4);
    s.treeWidth = int16(n[0]);
    s.treeHeight = paneHeight(n[1]);
    s.listWidth = int16(n[2]);
    s.listHeight = paneHeight(n[3]);

    n = in.numbers(4);
    s.viewWindow = {int16(n[0]), int16(n[1]), int16(n[2]), int16(n[3])};

    n = in.numbers(2);
    s.multiSelect = flag(n[0]);
    s.mouseOverFilter = flag(n[1]);

    const int pairs = categoryPairs(in, int16(in.numbers(1)[0]));
    s.categoryLast = pairs - 1;
    for (int i = 0; i < pairs; ++i) {
        s.categories[size_t(i)].name = in.line();
        s.categories[size_t(i)].extensions = in.line();
    }
    // Pairs beyond the last slot are not kept.
    const qsizetype extra = in.linesBefore(FileHistoryStart) - 1;
    if (extra > 0)
        in.skip(extra);

    const QString temp = in.line().trimmed();
    s.tempFolder = plausibleFolder(temp) ? WithSlash(temp) : QString();

    in.line(); // FILEHISTORY
    s.fileHistory.clear();
    s.fileHistory = readHistory(in, FileHistoryEnd, s.historySize);
    in.line(); // FOLDERHISTORY
    s.folderHistory.clear();
    s.folderHistory = readHistory(in, FolderHistoryEnd, s.historySize);
}

// Print style: a blank before a number that is not negative, one after every number.
QString num(double v, int maxDecimals = 7)
{
    QString text;
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        text = QString::number(qint64(v));
    } else {
        text = QString::number(v, 'f', maxDecimals);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return (v >= 0 ? QStringLiteral(" ") : QString()) + text + QLatin1Char(' ');
}

// Singles carry about seven significant digits.
QString flagNum(bool on)
{
    return num(on ? 1 : 0);
}

QString single(double v)
{
    return num(QString::number(v, 'g', 7).toDouble(), 6);
}

} // namespace

QString ProfileLocation(const QString& appFolder)
{
    const QFileInfo folder(appFolder);
    if (!appFolder.isEmpty() && folder.isDir() && folder.isWritable())
        return WithSlash(appFolder) + QStringLiteral("Lumara.pro");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lumara/Lumara.pro");
}

bool ReadProfile(const QString& path, Settings& settings, Prompts& prompts)
{
    QFile file;
    try {
        if (!platform::openForReading(file, path))
            throw ProfileError{};
        LineReader reader(file.readAll());
        file.close();
        readAll(reader, settings);
    } catch (const ProfileError&) {
        file.close();
        prompts.message(ProfileErrorMessage, Prompts::DefaultTitle);
        return true;
    }
    return false;
}

QByteArray ProfileText(const Settings& s, const WindowState& now)
{
    QStringList lines;
    lines << now.treeFont.name << num(now.treeFont.size, 4);
    lines << now.listFont.name << num(now.listFont.size, 4);
    lines << s.viewFont.name;
    QString colours;
    for (quint32 c : s.colours)
        colours += num(double(qint32(c)));
    lines << colours + flagNum(s.nextVersionOnOverwrite) + flagNum(s.extensionNames);
    lines << single(s.viewFont.size) + num(s.historySize) + flagNum(s.unknownAsText) +
                 flagNum(s.singleClickView) + flagNum(s.tabColorSwap) + flagNum(s.tabOrientation);
    const auto geometry = [](const Geometry& g) {
        return single(g.width) + single(g.height) + single(g.left) + single(g.top);
    };
    lines << geometry(now.mainWindow);
    lines << flagNum(s.tileHorizontal) + flagNum(s.showSystemHidden);
    lines << single(now.treeWidth) + single(now.treeHeight) + single(now.listWidth) +
                 single(now.listHeight);
    lines << geometry(now.viewWindow);
    lines << flagNum(s.multiSelect) + flagNum(s.mouseOverFilter);
    const int last = std::min(s.categoryLast, Settings::CategorySlots - 1);
    lines << num(last);
    for (int i = 0; i <= last; ++i)
        lines << s.categories[size_t(i)].name << s.categories[size_t(i)].extensions;
    lines << s.tempFolder;

    lines << FileHistoryStart;
    int written = 0;
    for (const QString& entry : s.fileHistory) {
        if (written >= s.historySize)
            break;
        if (entry.isEmpty())
            continue;
        lines << historyLine(entry);
        ++written;
    }
    lines << FileHistoryEnd << FolderHistoryStart;
    for (const QString& entry : s.folderHistory.mid(0, std::max(s.historySize, 0)))
        lines << historyLine(entry);
    lines << FolderHistoryEnd;
    return platform::encodeFileName(lines.join(LineBreak) + LineBreak);
}

bool WriteProfile(const QString& path, Settings& settings, const WindowState& now)
{
    platform::makeFolders(platform::absoluteFilePath(path).section(u'/', 0, -2));
    if (!platform::WriteFileSafely(path, ProfileText(settings, now)))
        return false;
    settings.treeFont = now.treeFont;
    settings.listFont = now.listFont;
    settings.mainWindow = now.mainWindow;
    settings.viewWindow = now.viewWindow;
    settings.treeWidth = now.treeWidth;
    settings.treeHeight = now.treeHeight;
    settings.listWidth = now.listWidth;
    settings.listHeight = now.listHeight;
    return true;
}

void CheckGeometryChanged(Settings& s, const WindowState& now)
{
    if (now.treeHeight != s.treeHeight || now.listHeight != s.listHeight ||
        now.mainWindow != s.mainWindow || now.viewWindow != s.viewWindow)
        s.settingsChanged = SettingsChange::AskAtExit;
}

void ApplyProfileDefaults(Settings& s, const WindowState& now)
{
    s.tileHorizontal = false;
    s.mainWindow = now.mainWindow;
    s.treeFont = FontSetting{};
    s.listFont = FontSetting{};
    s.viewFont = FontSetting{};
    s.colours = Settings{}.colours;
    s.unknownAsText = true;
    s.singleClickView = false;
    s.nextVersionOnOverwrite = true;
    s.categoryLast = 7;
    s.categories = Settings::defaultCategories();
    s.currentPattern = QStringLiteral("*");
    s.currentContentPattern = QStringLiteral("*");
    s.treeWidth = now.treeWidth;
    s.treeHeight = now.treeHeight;
    s.listWidth = now.listWidth;
    s.listHeight = now.listHeight;
    s.tempFolder = Settings::defaultTempFolder();
    s.tabColorSwap = false;
    s.tabOrientation = false;
    s.multiSelect = false;
    s.extensionNames = true;
    s.mouseOverFilter = false;
}

bool LoadSettings(Settings& settings, const QString& appFolder, const WindowState& now,
                  Prompts& prompts)
{
    settings.appFolder = WithSlash(appFolder);
    settings.profilePath = ProfileLocation(appFolder);
    const bool failed = ReadProfile(settings.profilePath, settings, prompts);
    if (settings.historySize < 1)
        settings.historySize = 10;
    if (failed)
        ApplyProfileDefaults(settings, now);
    if (settings.tempFolder.isEmpty())
        settings.tempFolder = Settings::defaultTempFolder();
    settings.currentPattern = QStringLiteral("*.*");
    settings.categories[Settings::OtherCategory].extensions = QStringLiteral("*");
    return !failed;
}

bool SaveSettingsAtExit(Settings& settings, const WindowState& now, Prompts& prompts)
{
    bool ok = true;
    if (settings.settingsChanged != SettingsChange::SavedByExit) {
        CheckGeometryChanged(settings, now);
        if (settings.settingsChanged == SettingsChange::AskAtExit &&
            prompts.askYesNo(QStringLiteral("save options ?"), Prompts::DefaultTitle))
            ok = WriteProfile(settings.profilePath, settings, now);
    }
    settings.settingsChanged = SettingsChange::Unchanged;
    return ok;
}

bool SaveSettingsOnExitCommand(Settings& settings, const WindowState& now)
{
    const bool ok = WriteProfile(settings.profilePath, settings, now);
    settings.settingsChanged = SettingsChange::SavedByExit;
    return ok;
}
