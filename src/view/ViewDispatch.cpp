#include "view/ViewDispatch.h"

#include "shared/FileKind.h"

ViewAction ViewActionFor(int fileKind)
{
    switch (fileKind) {
    case KindBasket:
        return ViewAction::Basket;
    case KindOle:
        return ViewAction::Ole;
    case KindAvi:
        return ViewAction::Video;
    case KindXls:
        return ViewAction::Spreadsheet;
    case KindTtf:
        return ViewAction::FontSample;
    case KindDoc:
        return ViewAction::DocText;
    case KindText:
        return ViewAction::Text;
    case KindPicture:
        return ViewAction::Picture;
    case KindHtml:
        return ViewAction::Web;
    case KindSound:
        return ViewAction::Sound;
    case KindDb:
        return ViewAction::Database;
    default:
        return ViewAction::None;
    }
}
