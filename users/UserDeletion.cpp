#include "users/UserDeletion.h"

#include "core/LangText.h"
#include "core/ShowMessage.h"
#include "core/WriteFailureBox.h"
#include "data/DataGlobals.h"
#include "data/UserStorage.h"

UserDeletion AskAndDeleteUser(const CString& userId) {
    CString format, question;
    GetLangFormat(u"CCPTreeSearchUser", u"SU0008", u"确认删除用户ID为%s的用户吗?", format);
    question.Format(format, userId.GetString());
    if (ShowMessage(question, 1) != IDYES) return UserDeletion::Declined;
    CWriteFailureBox failure;
    if (failure.Run([&] { return g_pUserStorage->DeleteUser(userId); }) == 0) return UserDeletion::Deleted;
    failure.Show();
    return UserDeletion::Refused;
}
