#include "cli/StatsCommand.h"

#include "cli/ListCommand.h"
#include "cli/NameEscape.h"
#include "controls/Grid.h"
#include "shared/Settings.h"
#include "trees/Statistics.h"

#include <memory>
#include <vector>

namespace cli {
namespace {

/// Writes grid rows from `first` on, one line each, every cell escaped; the cells' own
/// padding stays.
void writeGridRows(const Grid& grid, int first, QTextStream& out)
{
    for (int r = first; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (c > 0)
                out << '\t';
            out << EscapeMessage(grid.textMatrix(r, c));
        }
        out << '\n';
    }
}

/// `n` in decimal, as QString::number writes it, without a string of its own.
void appendNumber(QString& to, qint64 n)
{
    char16_t digits[20];
    int at = 20;
    quint64 rest = n < 0 ? 0 - quint64(n) : quint64(n);
    do {
        digits[--at] = char16_t(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (n < 0)
        to.append(u'-');
    to.append(QStringView(digits + at, 20 - at));
}

/// Appends a row text as the grid would hold and write it: split at its TABs into as
/// many cells as the grid has columns, each escaped.
void appendRowText(const QString& rowText, int cols, QString& to)
{
    const QStringList parts = rowText.split(u'\t');
    for (int c = 0; c < cols; ++c) {
        if (c > 0)
            to.append(u'\t');
        if (c < parts.size())
            to.append(EscapeMessage(parts[c]));
    }
    to.append(u'\n');
}

/// Gathers the file rows into large blocks: a table of a million rows goes out in a
/// few hundred writes, and no row builds a string of its own.
class FileRowWriter {
public:
    explicit FileRowWriter(QTextStream& out) : out_(out) { block_.reserve(BlockSize + 1024); }
    FileRowWriter(const FileRowWriter&) = delete;
    FileRowWriter& operator=(const FileRowWriter&) = delete;
    ~FileRowWriter() { flush(); }

    void write(const Grid& header, const SizeTableRow& row)
    {
        if (!headerWritten_) {
            writeGridRows(header, 0, out_);
            headerWritten_ = true;
        }
        // Printable ASCII needs no escape and holds no TAB: its three cells go as they are.
        if (IsPlainText(row.text) && header.cols() == 3) {
            appendNumber(block_, row.number);
            block_.append(u'\t');
            block_.append(row.text);
            block_.append(u'\t');
            appendNumber(block_, row.length);
            block_.append(u'\n');
        } else {
            appendRowText(SizeTableRowText(row), header.cols(), block_);
        }
        if (block_.size() >= BlockSize)
            flush();
    }

    void flush()
    {
        out_ << block_;
        block_.resize(0);
    }

    [[nodiscard]] bool headerWritten() const { return headerWritten_; }

private:
    static constexpr qsizetype BlockSize = 1 << 16;
    QTextStream& out_;
    QString block_;
    bool headerWritten_ = false;
};

/// A listing of a million files is a million small blocks, and freeing them one by one
/// takes longer than writing their table; the command's process ends right after it,
/// so each listing stays (reachable, not leaked) until the exit takes it whole.
FileList& stateKeptUntilExit()
{
    static std::vector<std::unique_ptr<FileList>>* const kept =
        new std::vector<std::unique_ptr<FileList>>;
    return *kept->emplace_back(std::make_unique<FileList>());
}

} // namespace

int sizeStatistics(const QStringList& args, QTextStream& out, QTextStream& err)
{
    FileList& state = stateKeptUntilExit();
    Settings settings;
    bool namesOnly = false;
    if (const int status =
            listNamesFromArgs(args, state, settings, err, QStringLiteral("stats"), &namesOnly);
        status >= 0)
        return status;
    if (state.setup().showsPlaceholder)
        return 0; // nothing listed: no table
    Grid grid;
    // File rows go out as they come, after the header; a table of groups is small and
    // written whole at the end.
    FileRowWriter writer(out);
    const auto rows = [&writer](const Grid& header, const SizeTableRow& row) {
        writer.write(header, row);
    };
    const SizeTableResult result = namesOnly && state.tree().count() == 1
                                       ? PlainListSizeTable(state, grid, rows)
                                       : ShowSizeTable(state, grid, state.tree().root(), rows);
    writer.flush();
    if (result.shown && !writer.headerWritten())
        writeGridRows(grid, 0, out);
    out.flush();
    return 0;
}

} // namespace cli
