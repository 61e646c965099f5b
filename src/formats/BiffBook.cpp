#include "formats/BiffBook.h"

#include "formats/BiffFormats.h"
#include "formats/BiffRecords.h"
#include "formats/CompoundFile.h"

#include <QStringDecoder>
#include <algorithm>
#include <map>

namespace biff {
namespace {

// Record numbers; BIFF2 cells carry three attribute bytes where later versions have an
// XF index.
enum Id : quint16 {
    Bof2 = 0x0009,
    Bof3 = 0x0209,
    Bof4 = 0x0409,
    Bof58 = 0x0809,
    Eof = 0x000A,
    Blank2 = 0x0001,
    Blank = 0x0201,
    MulBlank = 0x00BE,
    FilePass = 0x002F,
    CodePage = 0x0042,
    DateMode = 0x0022,
    BoundSheet = 0x0085,
    SharedStrings = 0x00FC,
    Format23 = 0x001E,
    Format = 0x041E,
    Xf2 = 0x0043,
    Xf3 = 0x0243,
    Xf4 = 0x0443,
    Xf58 = 0x00E0,
    Integer2 = 0x0002,
    Number2 = 0x0003,
    Label2 = 0x0004,
    BoolErr2 = 0x0005,
    Formula258 = 0x0006,
    String2 = 0x0007,
    Number = 0x0203,
    Label = 0x0204,
    BoolErr = 0x0205,
    Formula3 = 0x0206,
    String = 0x0207,
    Formula4 = 0x0406,
    Rk = 0x027E,
    MulRk = 0x00BD,
    LabelSst = 0x00FD,
    RString = 0x00D6,
};

constexpr quint16 WorksheetBof = 0x0010;
constexpr quint16 Biff8Version = 0x0600;
constexpr quint8 WorksheetSheet = 0;
constexpr quint8 MacroSheet = 1;
constexpr quint16 SpecialResult = 0xFFFF; // a formula result that is no number
constexpr int Utf16CodePage = 1200;
constexpr quint32 MostRows = 65536;
constexpr quint32 MostColumns = 256;

Cell Valued(CellKind kind, double number)
{
    Cell cell;
    cell.kind = kind;
    cell.number = number;
    return cell;
}

Cell Texted(QString text, bool formula = false)
{
    Cell cell;
    cell.kind = CellKind::Text;
    cell.text = std::move(text);
    cell.formula = formula;
    return cell;
}

bool IsBof(quint16 id)
{
    return id == Bof2 || id == Bof3 || id == Bof4 || id == Bof58;
}

QString CodePageName(int codePage)
{
    switch (codePage) {
    case 367:
        return QStringLiteral("US-ASCII");
    case 932:
        return QStringLiteral("Shift_JIS");
    case 936:
        return QStringLiteral("GBK");
    case 949:
        return QStringLiteral("windows-949");
    case 950:
        return QStringLiteral("Big5");
    case 10000:
    case 0x8000:
        return QStringLiteral("macintosh");
    case 0x8001:
        return QStringLiteral("windows-1252");
    default:
        break;
    }
    if (codePage >= 1250 && codePage <= 1258)
        return QStringLiteral("windows-") + QString::number(codePage);
    return QStringLiteral("cp") + QString::number(codePage);
}

struct SheetEntry {
    QString name;
    quint32 offset = 0;
};

/// What the workbook's global records say, and the reading of one sheet's cells.
class Reader {
public:
    Reader(QByteArrayView stream, int version) : stream_(stream), version_(version)
    {
        setCodePage(1252);
    }

    bool encrypted = false;
    bool dates1904 = false;
    std::vector<SheetEntry> sheets;

    /// Walks the substream that starts at `from`; cells go to `sheet` when given.
    void walk(qsizetype from, Sheet* sheet)
    {
        RecordStream records(stream_, from);
        Record r;
        int depth = 0;
        sheet_ = sheet;
        cells_ = sheet ? &sheet->cells : nullptr;
        pendingString_.reset();
        while (records.next(r)) {
            if (depth == 0 && !IsBof(r.id))
                break; // the sheet's offset points at no substream
            if (IsBof(r.id)) {
                ++depth;
                continue;
            }
            if (r.id == Eof) {
                if (--depth <= 0)
                    break;
                continue;
            }
            if (depth > 1)
                continue; // a chart or other substream inside the sheet
            if (r.id == FilePass) {
                encrypted = true;
                return;
            }
            handle(r, records);
        }
    }

private:
    bool biff8() const { return version_ == 8; }

    void setCodePage(int codePage)
    {
        if (codePage == Utf16CodePage)
            return; // BIFF8 strings say their width themselves
        QStringDecoder decoder(CodePageName(codePage).toLatin1().constData(),
                               QStringDecoder::Flag::Stateless);
        decoder_ = decoder.isValid()
                       ? std::move(decoder)
                       : QStringDecoder("windows-1252", QStringDecoder::Flag::Stateless);
        if (!decoder_.isValid())
            decoder_ = QStringDecoder(QStringDecoder::Latin1);
    }

    void handle(const Record& r, RecordStream& records)
    {
        const QByteArrayView d = r.data;
        switch (r.id) {
        case CodePage:
            if (d.size() >= 2)
                setCodePage(Le16(d, 0));
            return;
        case DateMode:
            if (d.size() >= 2)
                dates1904 = Le16(d, 0) == 1;
            return;
        case BoundSheet:
            if (!cells_) // the list of sheets belongs to the workbook's globals
                readBoundSheet(d);
            return;
        case SharedStrings:
            readSharedStrings(d, records.continuations());
            return;
        case Format23:
        case Format:
            readFormat(r);
            return;
        case Xf2:
        case Xf3:
        case Xf4:
        case Xf58:
            readXf(r);
            return;
        default:
            break;
        }
        if (cells_)
            handleCell(r, records);
    }

    void readBoundSheet(QByteArrayView d)
    {
        if (d.size() < 7)
            return;
        const quint8 type = quint8(d[5]);
        Pieces name({d.sliced(6)});
        quint8 length = 0;
        SheetEntry entry{{}, Le32(d, 0)};
        if (!name.byte(length) || !readString(name, length, entry.name))
            return;
        if (type == WorksheetSheet || type == MacroSheet)
            sheets.push_back(entry);
    }

    void readSharedStrings(QByteArrayView d, std::vector<QByteArrayView> more)
    {
        if (d.size() < 8)
            return;
        quint32 count = Le32(d, 4);
        more.insert(more.begin(), d.sliced(8));
        Pieces pieces(std::move(more));
        for (; count > 0; --count) {
            quint16 length = 0;
            quint8 flags = 0;
            quint16 runs = 0;
            quint32 extra = 0;
            QString text;
            if (!pieces.word(length) || !pieces.byte(flags) ||
                ((flags & 0x08) && !pieces.word(runs)) ||
                ((flags & 0x04) && !pieces.dword(extra)) ||
                !pieces.chars(length, flags & 0x01, text))
                return;
            shared_.push_back(text);
            if (!pieces.skip(qint64(runs) * 4 + extra))
                return;
        }
    }

    void readFormat(const Record& r)
    {
        const QByteArrayView d = r.data;
        QString code;
        int index = 0;
        if (r.id == Format23 || version_ == 4) {
            // Before BIFF5 formats are numbered by their order.
            index = implicitFormat_++;
            Pieces p({d.sliced(std::min<qsizetype>(d.size(), version_ == 4 ? 2 : 0))});
            quint8 length = 0;
            if (!p.byte(length) || !p.bytes(length, decoder_, code))
                return;
        } else {
            if (d.size() < 3)
                return;
            index = Le16(d, 0);
            Pieces p({d.sliced(2)});
            quint16 length = 0;
            if (biff8()) {
                if (!p.word(length) || !readString(p, length, code))
                    return;
            } else {
                quint8 shortLength = 0;
                if (!p.byte(shortLength) || !p.bytes(shortLength, decoder_, code))
                    return;
            }
        }
        formatKinds_[index] = KindOfFormat(code);
    }

    void readXf(const Record& r)
    {
        const QByteArrayView d = r.data;
        if (r.id == Xf58 && d.size() >= 4)
            xfFormats_.push_back(Le16(d, 2));
        else if ((r.id == Xf3 || r.id == Xf4) && d.size() >= 2)
            xfFormats_.push_back(quint8(d[1]));
        else if (r.id == Xf2 && d.size() >= 3)
            xfFormats_.push_back(quint8(d[2]) & 0x3F);
    }

    /// A BIFF8 string's flags and characters, or an older one's bytes.
    bool readString(Pieces& p, int length, QString& out)
    {
        if (!biff8())
            return p.bytes(length, decoder_, out);
        quint8 flags = 0;
        return p.byte(flags) && p.chars(length, flags & 0x01, out);
    }

    CellKind kindOfFormat(int format) const
    {
        const auto known = formatKinds_.find(format);
        return known != formatKinds_.end() ? known->second : KindOfBuiltInFormat(format);
    }

    CellKind kindOfXf(int xf) const
    {
        return xf < int(xfFormats_.size()) ? kindOfFormat(xfFormats_[size_t(xf)])
                                           : CellKind::Number;
    }

    /// The kind a number in this cell takes: BIFF2 cells name their format directly.
    CellKind numberKind(QByteArrayView d) const
    {
        return version_ == 2 ? kindOfFormat(quint8(d[5]) & 0x3F) : kindOfXf(Le16(d, 4));
    }

    void put(QByteArrayView d, Cell cell) { place(Le16(d, 0), Le16(d, 2), std::move(cell)); }

    void place(quint32 row, quint32 column, Cell cell)
    {
        if (row >= MostRows || column >= MostColumns)
            return;
        cells_->push_back({row, quint16(column), std::move(cell)});
        extend(row, column);
    }

    /// The sheet reaches this place: a value or a formatted empty cell stands there.
    /// (The DIMENSIONS record says the same but is not trusted: a damaged one would make
    /// a grid of millions of empty cells.)
    void extend(quint32 row, quint32 column)
    {
        if (row >= MostRows || column >= MostColumns)
            return;
        sheet_->rows = std::max(sheet_->rows, row + 1);
        sheet_->columns = std::max(sheet_->columns, column + 1);
    }

    void handleCell(const Record& r, RecordStream& records);
    void readFormula(QByteArrayView d, qsizetype resultAt);
    void readLabel(QByteArrayView d, RecordStream& records, qsizetype lengthAt, bool shortLength);

    QByteArrayView stream_;
    int version_;
    QStringDecoder decoder_;
    std::map<int, CellKind> formatKinds_;
    int implicitFormat_ = 0;
    std::vector<int> xfFormats_;
    std::vector<QString> shared_;
    Sheet* sheet_ = nullptr;
    std::vector<PlacedCell>* cells_ = nullptr;
    std::optional<std::pair<quint32, quint16>> pendingString_;
};

void Reader::handleCell(const Record& r, RecordStream& records)
{
    const QByteArrayView d = r.data;
    const bool old = version_ == 2;
    const qsizetype valueAt = old ? 7 : 6; // after row, column and XF or attributes
    if (d.size() < valueAt && r.id != String && r.id != String2)
        return;
    switch (r.id) {
    case Blank2:
    case Blank:
        if ((r.id == Blank2) == old)
            extend(Le16(d, 0), Le16(d, 2));
        return;
    case MulBlank:
        extend(Le16(d, 0), Le16(d, d.size() - 2));
        return;
    case Integer2:
        if (old && d.size() >= 9)
            put(d, Valued(numberKind(d), double(Le16(d, 7))));
        return;
    case Number2:
    case Number:
        if ((r.id == Number2) == old && d.size() >= valueAt + 8)
            put(d, Valued(numberKind(d), LeDouble(d, valueAt)));
        return;
    case Rk:
        if (d.size() >= 10)
            put(d, Valued(kindOfXf(Le16(d, 4)), RkNumber(Le32(d, 6))));
        return;
    case MulRk:
        for (qsizetype at = 4; at + 6 <= d.size() - 2; at += 6) {
            const quint32 column = Le16(d, 2) + quint32(at - 4) / 6;
            place(Le16(d, 0), column, Valued(kindOfXf(Le16(d, at)), RkNumber(Le32(d, at + 2))));
        }
        return;
    case BoolErr2:
    case BoolErr:
        if ((r.id == BoolErr2) == old && d.size() >= valueAt + 2)
            put(d, Valued(d[valueAt + 1] ? CellKind::Error : CellKind::Boolean,
                          double(quint8(d[valueAt]))));
        return;
    case Label2:
        if (old)
            readLabel(d, records, 7, true);
        return;
    case Label:
    case RString:
        readLabel(d, records, 6, false);
        return;
    case LabelSst:
        if (d.size() >= 10 && Le32(d, 6) < shared_.size())
            put(d, Texted(shared_[Le32(d, 6)]));
        return;
    case Formula258:
        readFormula(d, valueAt);
        return;
    case Formula3:
    case Formula4:
        readFormula(d, 6);
        return;
    case String2:
    case String:
        if (pendingString_ && (r.id == String2) == old) {
            std::vector<QByteArrayView> parts = records.continuations();
            parts.insert(parts.begin(), d);
            Pieces p(std::move(parts));
            quint16 length = 0;
            quint8 shortLength = 0;
            QString text;
            const bool ok = old ? p.byte(shortLength) && p.bytes(shortLength, decoder_, text)
                                : p.word(length) && readString(p, length, text);
            if (ok)
                place(pendingString_->first, pendingString_->second, Texted(text, true));
            pendingString_.reset();
        }
        return;
    default:
        return;
    }
}

void Reader::readFormula(QByteArrayView d, qsizetype resultAt)
{
    if (d.size() < resultAt + 8)
        return;
    pendingString_.reset();
    Cell cell;
    cell.formula = true;
    if (Le16(d, resultAt + 6) != SpecialResult) {
        cell.kind = version_ == 2 ? kindOfFormat(quint8(d[5]) & 0x3F) : kindOfXf(Le16(d, 4));
        cell.number = LeDouble(d, resultAt);
        put(d, cell);
        return;
    }
    switch (quint8(d[resultAt])) {
    case 0: // the text follows in a STRING record
        pendingString_ = {Le16(d, 0), Le16(d, 2)};
        return;
    case 1:
        cell.kind = CellKind::Boolean;
        cell.number = quint8(d[resultAt + 2]) ? 1 : 0;
        break;
    case 2:
        cell.kind = CellKind::Error;
        cell.number = quint8(d[resultAt + 2]);
        break;
    case 3:
        cell.kind = CellKind::Text;
        break;
    default:
        return;
    }
    put(d, cell);
}

void Reader::readLabel(QByteArrayView d, RecordStream& records, qsizetype lengthAt,
                       bool shortLength)
{
    if (d.size() < lengthAt + (shortLength ? 1 : 2))
        return;
    std::vector<QByteArrayView> parts = records.continuations();
    parts.insert(parts.begin(), d.sliced(lengthAt));
    Pieces p(std::move(parts));
    quint8 byteLength = 0;
    quint16 length = 0;
    QString text;
    const bool ok = shortLength ? p.byte(byteLength) && p.bytes(byteLength, decoder_, text)
                                : p.word(length) && readString(p, length, text);
    if (ok)
        put(d, Texted(text));
}

/// The workbook stream and its BIFF version; nothing for bytes that hold none.
std::optional<std::pair<QByteArray, int>> WorkbookStream(const QByteArray& file)
{
    QByteArray stream = file;
    if (IsCompoundFile(file)) {
        std::optional<QByteArray> found =
            CompoundFileStream(file, {QStringLiteral("Workbook"), QStringLiteral("Book")});
        if (!found)
            return std::nullopt;
        stream = std::move(*found);
    }
    RecordStream records(stream, 0);
    Record bof;
    if (!records.next(bof) || !IsBof(bof.id) || bof.data.size() < 4)
        return std::nullopt;
    switch (bof.id) {
    case Bof2:
        return std::pair{stream, 2};
    case Bof3:
        return std::pair{stream, 3};
    case Bof4:
        // A BIFF4 workbook of bundled sheets is not read.
        return Le16(bof.data, 2) == WorksheetBof ? std::optional(std::pair{stream, 4})
                                                 : std::nullopt;
    default:
        return std::pair{stream,
                         Le16(bof.data, 0) == Biff8Version || bof.data.size() >= 16 ? 8 : 5};
    }
}

/// Puts cells in row and column order, keeping the last record of each place.
void Settle(std::vector<PlacedCell>& cells)
{
    const auto before = [](const PlacedCell& a, const PlacedCell& b) {
        return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    };
    std::stable_sort(cells.begin(), cells.end(), before);
    // Of equal places keep the last: walk backwards, keeping each place's first.
    std::reverse(cells.begin(), cells.end());
    const auto same = [](const PlacedCell& a, const PlacedCell& b) {
        return a.row == b.row && a.column == b.column;
    };
    cells.erase(std::unique(cells.begin(), cells.end(), same), cells.end());
    std::reverse(cells.begin(), cells.end());
}

} // namespace

const Cell* Sheet::at(quint32 row, quint16 column) const
{
    const auto found = std::lower_bound(
        cells.begin(), cells.end(), std::pair(row, column),
        [](const PlacedCell& c, const auto& place) { return std::pair(c.row, c.column) < place; });
    return found != cells.end() && found->row == row && found->column == column ? &found->cell
                                                                                : nullptr;
}

std::optional<Book> ReadBook(const QByteArray& file, const std::optional<QString>& onlySheet)
{
    const std::optional<std::pair<QByteArray, int>> found = WorkbookStream(file);
    if (!found)
        return std::nullopt;
    const auto& [stream, version] = *found;
    Book book;
    book.version = version;
    Reader reader(stream, version);
    // Files before BIFF5 hold one worksheet whose records follow the formats directly.
    const bool single = version < 5;
    if (single)
        reader.sheets.push_back({QStringLiteral("Worksheet"), 0});
    else
        reader.walk(0, nullptr);
    const std::vector<SheetEntry> entries = reader.sheets;
    for (const SheetEntry& entry : entries) {
        Sheet sheet;
        sheet.name = entry.name;
        if (!onlySheet || *onlySheet == entry.name) {
            reader.walk(entry.offset, &sheet);
            Settle(sheet.cells);
        }
        book.sheets.push_back(std::move(sheet));
    }
    if (reader.encrypted)
        return std::nullopt;
    book.dates1904 = reader.dates1904;
    return book;
}

} // namespace biff
