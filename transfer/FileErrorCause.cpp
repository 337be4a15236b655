#include "transfer/FileErrorCause.h"

#include "core/ShowMessage.h"
#include "platform/base/CFile.h"

void ShowFileErrorCause(int cause) {
    switch (cause) {
    case CFileException::fileNotFound:
        ShowMessage(u"file   not   found!", 0);
        break;
    case CFileException::badPath:
        ShowMessage(u"bad   path", 0);
        break;
    case CFileException::tooManyOpenFiles:
        ShowMessage(u"too   many   file   open", 0);
        break;
    case CFileException::accessDenied:
        ShowMessage(u"Access   denied!", 0);
        break;
    case CFileException::hardIO:
        ShowMessage(u"hardware   error!", 0);
        break;
    case CFileException::sharingViolation:
        ShowMessage(u"share   violation!", 0);
        break;
    case CFileException::lockViolation:
        ShowMessage(u"lock   violation!", 0);
        break;
    case CFileException::diskFull:
        ShowMessage(u"disk   full!", 0);
        break;
    default:
        ShowMessage(u"Remove   default   Exception!", 0);
        break;
    }
}
