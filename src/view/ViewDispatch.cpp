#include "view/ViewDispatch.h"

#include "shared/FileKind.h"

ViewAction ViewActionFor(FileKind fileKind, const QString& extension)
{
    switch (fileKind) {
    case FileKind::Tif:
        return ViewAction::Picture;
    case FileKind::Basket:
        return ViewAction::Basket;
    case FileKind::Ole:
        return extension == QLatin1String(".PCX") ? ViewAction::Picture : ViewAction::Ole;
    case FileKind::Avi:
        return ViewAction::Video;
    case FileKind::Xls:
        return ViewAction::Spreadsheet;
    case FileKind::Ttf:
        return ViewAction::FontSample;
    case FileKind::Doc:
        return ViewAction::DocText;
    case FileKind::Text:
        return ViewAction::Text;
    case FileKind::Picture:
        return ViewAction::Picture;
    case FileKind::Html:
        return ViewAction::Web;
    case FileKind::Sound:
        return ViewAction::Sound;
    case FileKind::Db:
        return ViewAction::Database;
    default:
        return ViewAction::None;
    }
}
