#include "transfer/ImportWriters.h"

#include "data/FPTemplateStore.h"

namespace {

// One run of a statement that returns no row, ready for the next.
bool Run(CSqlStatement& statement) {
    const bool ran = statement.Execute();
    statement.Reset();
    return ran;
}

}  // namespace

CUserImportWriter::CUserImportWriter(CDbSqlite& db, int users, int maxUsers)
    : m_db(db),
      m_users(users),
      m_maxUsers(maxUsers),
      m_exists(db.Statement(u"select CardNo, Name from Userinfo where userid = ?")),
      // A mask below 0 is none: the user keeps his own.
      m_update(db.Statement(u"update Userinfo set CardNo = ?1, Name = ?2, pwd = ?3, Deptid = ?4, ACFlag = ?5, "
                            u"AdminFlag = ?6, GroupNO = ?7, FPFlag = CASE WHEN ?8 < 0 THEN FPFlag ELSE ?8 END "
                            u"where userid = ?9")),
      m_insert(db.Statement(u"insert into Userinfo values (?9, ?1, ?2, '', ?3, ?4, ?5, '', ?6, '', ?7, max(?8, 0))")),
      m_count(db.Statement(u"update BasePara set UserCount = ?")) {
    CountCardHolders();
}

void CUserImportWriter::CountCardHolders() {
    m_cardHolders.clear();
    StatementPtr cards(m_db.Statement(u"select CardNo from Userinfo where CardNo <> ''"));
    while (cards->NextRow()) ++m_cardHolders[cards->ValueString(0)];
}

bool CUserImportWriter::HeldByAnother(const CString& card, const CString& ownCard) const {
    // A user who keeps the card he has takes it from nobody.
    if (card.IsEmpty() || card == ownCard) return false;
    const auto holders = m_cardHolders.find(card.str());
    return holders != m_cardHolders.end() && holders->second > 0;
}

ImportOutcome CUserImportWriter::Store(const TransferUser& user) {
    m_exists->Bind(0, user.userid);
    const bool exists = m_exists->NextRow();
    const CString ownCard = exists ? CString(m_exists->ValueString(0)) : CString();
    // A name that did not convert whole never takes the place of one here.
    const CString name = exists && !user.nameExact ? CString(m_exists->ValueString(1)) : user.Name;
    m_exists->Reset();
    if (!exists && m_users >= m_maxUsers) return ImportOutcome::Refused;
    if (!user.nameExact) ++m_stepNotes.namesUnread;
    // The card stays with the user who holds it; this one keeps his own.
    CString card = user.CardNo;
    if (HeldByAnother(card, ownCard)) {
        card = ownCard;
        ++m_stepNotes.cardsLeftOut;
    }
    CSqlStatement& write = exists ? *m_update : *m_insert;
    const bool bound = write.Bind(0, card) && write.Bind(1, name) && write.Bind(2, user.pwd) &&
                       write.Bind(3, user.Deptid) && write.Bind(4, user.ACFlag) && write.Bind(5, user.AdminFlag) &&
                       write.Bind(6, user.GroupNO) && write.Bind(7, user.fingerMask) && write.Bind(8, user.userid);
    if (!bound || !Run(write)) return ImportOutcome::WriteFailed;
    if (!exists) ++m_users;
    if (!ownCard.IsEmpty()) --m_cardHolders[ownCard.str()];
    if (!card.IsEmpty()) ++m_cardHolders[card.str()];
    return ImportOutcome::Stored;
}

bool CUserImportWriter::FinishStep() { return m_count->Bind(0, m_users) && Run(*m_count); }

void CUserImportWriter::StepKept() {
    m_notes.cardsLeftOut += m_stepNotes.cardsLeftOut;
    m_notes.namesUnread += m_stepNotes.namesUnread;
    m_stepNotes = {};
}

void CUserImportWriter::StepUndone() {
    m_stepNotes = {};
    m_users = QueryInt(m_db, u"select count(*) from Userinfo");
    CountCardHolders();
}

CFingerprintImportWriter::CFingerprintImportWriter(CDbSqlite& db, CFPTemplateStore& store,
                                                   const std::unordered_set<std::u16string>& fileUsers)
    : m_store(store),
      m_fileUsers(fileUsers),
      m_mask(db.Statement(u"select FPFlag from Userinfo where userid = ?")),
      m_exists(db.Statement(u"select 1 from FPinfo where userid = ?1 and fingerNO = ?2")),
      m_update(db.Statement(u"update FPinfo set FPTemplate = ?3 where userid = ?1 and fingerNO = ?2")),
      m_insert(db.Statement(u"insert into FPinfo(fingerNO, UserID, FPTemplate) values (?2, ?1, ?3)")),
      m_setMask(db.Statement(u"update Userinfo set FPFlag = ?2 where userid = ?1")),
      m_begin(db.Statement(u"savepoint fingerprint")),
      m_release(db.Statement(u"release fingerprint")),
      m_rollback(db.Statement(u"rollback to fingerprint")) {}

ImportOutcome CFingerprintImportWriter::Store(const TransferFingerprint& fingerprint) {
    // Only a user who exists gets templates; his finger mask is read here too.
    m_mask->Bind(0, fingerprint.userid);
    const bool known = m_mask->NextRow();
    const int mask = known ? m_mask->ValueInt(0) | (1 << fingerprint.finger) : 0;
    m_mask->Reset();
    if (!known) {
        if (!m_fileUsers.count(fingerprint.userid.str())) ++m_unknownUsers;
        return ImportOutcome::Refused;
    }
    if (!Run(*m_begin)) return ImportOutcome::WriteFailed;
    m_exists->Bind(0, fingerprint.userid);
    m_exists->Bind(1, fingerprint.finger);
    CSqlStatement& write = m_exists->HasRow() ? *m_update : *m_insert;
    const bool written = write.Bind(0, fingerprint.userid) && write.Bind(1, fingerprint.finger) &&
                         write.BindBlob(2, fingerprint.templ, StoredTemplateSize) && Run(write) &&
                         m_setMask->Bind(0, fingerprint.userid) && m_setMask->Bind(1, mask) && Run(*m_setMask);
    if (!written) {
        Undo();
        return ImportOutcome::WriteFailed;
    }
    // The row first, then the store: a template the store refuses takes its
    // row back out.
    if (m_store.Add(fingerprint.templ, fingerprint.userid, fingerprint.finger, TRUE, StoredTemplateSize) != 1) {
        Undo();
        return ImportOutcome::Refused;
    }
    if (Run(*m_release)) return ImportOutcome::Stored;
    m_storeAhead = true;
    Undo();
    return ImportOutcome::WriteFailed;
}

void CFingerprintImportWriter::Undo() {
    Run(*m_rollback);
    Run(*m_release);
}
