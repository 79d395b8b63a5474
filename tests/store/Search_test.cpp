// Search in the notes: the index gives exactly the days a plain substring
// scan of the notes gives, also for one- and two-character Chinese, for rows
// another program wrote, and after the index was lost or damaged.

#include "store/Backup.h"
#include "store/NoteSearch.h"
#include "store/SearchIndex.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteConnection.h"
#include "store/SqliteStatement.h"
#include "tests/support/StoreFixture.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

using Keys = std::vector<std::string>;

// Few characters, so that short searches find some days and miss others.
const QString kAlphabet = QStringLiteral("会议天气今明早晚开学工作项目周末中文aAbBzZ19 ,\"*\r\n");

QString RandomText(QRandomGenerator& random, int maxLength)
{
    const int length = static_cast<int>(random.bounded(maxLength + 1));
    QString text;
    for (int i = 0; i < length; ++i)
        text += kAlphabet[static_cast<qsizetype>(random.bounded(kAlphabet.size()))];
    return text;
}

std::string KeyOf(const QDate& d) { return d.toString(QStringLiteral("yyyyMMdd")).toStdString(); }

class SearchTest : public StoreFixture {
protected:
    QString Path() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }

    bool WaitForIndex() { return dm->Search().WaitForKeeper(60000) && dm->Search().IndexInStep(); }

    void Reopen()
    {
        dm.reset();
        dm = std::make_unique<TDM>(folder);
        ASSERT_TRUE(dm->ConnectDatabase());
    }

    void Save(const std::vector<qn::DayNote>& notes)
    {
        const auto written = dm->Notes().WriteDays(notes);
        ASSERT_TRUE(written.ok());
    }

    // Another program at work: statements on a connection of its own.
    void Foreign(const char* sql, const std::vector<QByteArray>& values = {})
    {
        qn::SqliteConnection other(Path(), qn::SqliteConnection::Mode::ReadWrite);
        ASSERT_TRUE(other.isOpen());
        qn::SqliteStatement statement(other.handle(), sql);
        ASSERT_EQ(statement.prepareResult(), SQLITE_OK) << sql;
        for (size_t i = 0; i < values.size(); ++i)
            statement.bind(static_cast<int>(i) + 1, std::string_view(values[i].constData(), values[i].size()));
        ASSERT_EQ(statement.step(), SQLITE_DONE) << sql;
    }

    // The reference: every row of the notes, the first one of each day key,
    // tested with a case-insensitive substring search.
    using FirstRows = std::map<std::string, QString>;
    FirstRows ReadFirstRows() const
    {
        FirstRows firstRows;
        QSqlQuery q(dm->AdoCon());
        EXPECT_TRUE(q.exec(QStringLiteral("select YearMonthStr, ContentBak from tb_NewQN order by rowid")));
        while (q.next())
            firstRows.try_emplace(q.value(0).toString().toStdString(), q.value(1).toString());
        // Rows under a key that is no day are no day's note.
        std::erase_if(firstRows, [](const auto& row) {
            const QString key = QString::fromStdString(row.first);
            return key.size() != 8 || !QDate::fromString(key, QStringLiteral("yyyyMMdd")).isValid();
        });
        return firstRows;
    }
    static Keys Scan(const FirstRows& firstRows, const QString& query)
    {
        Keys keys;
        for (auto it = firstRows.rbegin(); it != firstRows.rend(); ++it)
            if (it->second.contains(query, Qt::CaseInsensitive))
                keys.push_back(it->first);
        return keys;
    }
    Keys Scan(const QString& query) const { return Scan(ReadFirstRows(), query); }

    static Keys KeysOf(const qn::SearchPage& page)
    {
        Keys keys;
        for (const qn::SearchHit& hit : page.hits)
            keys.push_back(hit.key);
        return keys;
    }

    Keys Find(const QString& query, bool* fromIndex = nullptr)
    {
        const auto found = dm->Search().Find(query, 0);
        EXPECT_TRUE(found.ok()) << query.toStdString();
        if (fromIndex)
            *fromIndex = found.value.fromIndex;
        return KeysOf(found.value);
    }

    // A notebook of about two years: most days saved by the notebook, some
    // rows by another program (a second row under a key, text of another
    // case, a row that is no day, invalid UTF-8).
    void Generate(quint32 seed)
    {
        QRandomGenerator random(seed);
        std::vector<qn::DayNote> week;
        for (QDate d(2021, 1, 4); d < QDate(2023, 1, 2); d = d.addDays(1)) {
            if (d.dayOfWeek() == 7)
                continue;
            week.push_back({KeyOf(d), QByteArray("{\\rtf1 x}"), RandomText(random, 40)});
            if (week.size() == 6) {
                Save(week);
                week.clear();
            }
        }
        Foreign("insert into tb_NewQN (YearMonthStr, Content, ContentBak) values ('20210105', x'00', ?1)",
                {QStringLiteral("第二行 早会 ZZZ").toUtf8()});
        Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20230301', ?1)",
                {QStringLiteral("别的程序写的 今天开会 Abz").toUtf8()});
        Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values ('2023031', '今天开会 not a day')");
        Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20230230', '今天开会 no such day')");
        Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20230302', ?1)",
                {QByteArray("\xE4\xBB\x8A\xFF\xE5\xA4\xA9 broken \xE4\xBC")});
        Foreign("insert into tb_NewQN (YearMonthStr) values ('20230303')");
    }

    // Every one- and two-character text of the alphabet, and longer pieces
    // of the notes in both cases.
    std::vector<QString> Queries(quint32 seed) const
    {
        std::vector<QString> queries;
        for (const QChar a : kAlphabet) {
            queries.push_back(QString(a));
            for (const QChar b : kAlphabet)
                queries.push_back(QString(a) + b);
        }
        QRandomGenerator random(seed);
        for (int i = 0; i < 200; ++i) {
            QString piece = RandomText(random, 6);
            if (!piece.isEmpty())
                queries.push_back(i % 2 ? piece : piece.toUpper());
        }
        for (const char* more : {"今天开会", "别的程序写的", "鹤", "第二行", "不存在的字", "\"", "abz", "ZZZ"})
            queries.push_back(QString::fromUtf8(more));
        return queries;
    }

    void ExpectExact(quint32 seed, bool expectIndex)
    {
        const FirstRows rows = ReadFirstRows();
        for (const QString& query : Queries(seed)) {
            bool fromIndex = false;
            ASSERT_EQ(Find(query, &fromIndex), Scan(rows, query)) << query.toStdString();
            if (expectIndex) {
                ASSERT_TRUE(fromIndex) << query.toStdString();
            }
        }
    }
};

TEST_F(SearchTest, IndexFindsExactlyWhatAScanOfTheNotesFinds)
{
    Generate(1);
    Reopen();
    ASSERT_TRUE(WaitForIndex());
    ExpectExact(2, true);
    // The scan the notebook falls back on agrees as well.
    const FirstRows rows = ReadFirstRows();
    const std::vector<QString> queries = Queries(3);
    for (size_t i = 0; i < queries.size(); i += 5) {
        const auto scanned = qn::ScanNotes(qn::SqliteHandle(dm->AdoCon()), queries[i], 0);
        ASSERT_TRUE(scanned.ok());
        ASSERT_EQ(KeysOf(scanned.value), Scan(rows, queries[i])) << queries[i].toStdString();
    }
}

TEST_F(SearchTest, RowsChangedByAnotherProgramAreFoundAtOnceAndIndexedInTheBackground)
{
    Generate(4);
    Reopen();
    ASSERT_TRUE(WaitForIndex());
    dm.reset();
    // Same length, new text; a new day; a day gone; a day whose first row goes,
    // so that its second row is the one the notebook reads.
    Foreign("update tb_NewQN set ContentBak = '晚上开学 q' where YearMonthStr = '20220110'");
    Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20240101', '新年 开学 第一天')");
    Foreign("delete from tb_NewQN where YearMonthStr = '20220111'");
    Foreign("delete from tb_NewQN where rowid = (select min(rowid) from tb_NewQN where YearMonthStr = '20210105')");
    dm = std::make_unique<TDM>(folder);
    ASSERT_TRUE(dm->ConnectDatabase());
    // Exact while the index is being brought in step ...
    for (const char* query : {"晚上开学", "开学", "第一天", "第二行", "Zz"})
        EXPECT_EQ(Find(QString::fromUtf8(query)), Scan(QString::fromUtf8(query))) << query;
    // ... and from the index once it is.
    ASSERT_TRUE(WaitForIndex());
    ExpectExact(5, true);
    EXPECT_EQ(Find(QStringLiteral("晚上开学")), (Keys{"20220110"}));
    EXPECT_EQ(Find(QStringLiteral("第二行")), (Keys{"20210105"}));
}

TEST_F(SearchTest, EverySaveUpdatesTheIndexInItsTransaction)
{
    ASSERT_TRUE(WaitForIndex());
    Save({{"20100601", "{\\rtf1 a}", QStringLiteral("去银行办理业务")},
          {"20100602", "{\\rtf1 b}", QStringLiteral("银行")}});
    bool fromIndex = false;
    EXPECT_EQ(Find(QStringLiteral("银行"), &fromIndex), (Keys{"20100602", "20100601"}));
    EXPECT_TRUE(fromIndex);
    Save({{"20100601", "{\\rtf1 a}", QStringLiteral("去邮局")}});
    EXPECT_EQ(Find(QStringLiteral("银行")), (Keys{"20100602"}));
    EXPECT_EQ(Find(QStringLiteral("邮")), (Keys{"20100601"}));
    EXPECT_TRUE(dm->Search().IndexInStep());

    // What a save left in the index is what a new start finds in step.
    Reopen();
    ASSERT_TRUE(WaitForIndex());
    EXPECT_EQ(Find(QStringLiteral("邮局"), &fromIndex), (Keys{"20100601"}));
    EXPECT_TRUE(fromIndex);
}

TEST_F(SearchTest, PagesContinueWhereTheLastOneEnded)
{
    std::vector<qn::DayNote> notes;
    for (int day = 1; day <= 7; ++day)
        notes.push_back({KeyOf(QDate(2010, 6, day)), {}, QStringLiteral("第%1天 日记").arg(day)});
    Save(notes);
    // Read from the notes ...
    sqlite3* db = qn::SqliteHandle(dm->AdoCon());
    auto first = qn::ScanNotes(db, QStringLiteral("日记"), 3);
    EXPECT_EQ(KeysOf(first.value), (Keys{"20100607", "20100606", "20100605"}));
    EXPECT_TRUE(first.value.more);
    auto rest = qn::ScanNotes(db, QStringLiteral("日记"), 4, 20100605);
    EXPECT_EQ(KeysOf(rest.value), (Keys{"20100604", "20100603", "20100602", "20100601"}));
    EXPECT_FALSE(rest.value.more);
    // ... and from the index.
    ASSERT_TRUE(WaitForIndex());
    first = dm->Search().Find(QStringLiteral("日记"), 3);
    EXPECT_EQ(KeysOf(first.value), (Keys{"20100607", "20100606", "20100605"}));
    EXPECT_TRUE(first.value.more);
    EXPECT_TRUE(first.value.fromIndex);
    rest = dm->Search().Find(QStringLiteral("日记"), 4, 20100605);
    EXPECT_EQ(KeysOf(rest.value), (Keys{"20100604", "20100603", "20100602", "20100601"}));
    EXPECT_FALSE(rest.value.more);
}

TEST_F(SearchTest, LostOrDamagedIndexIsBuiltAgain)
{
    Generate(6);
    Reopen();
    ASSERT_TRUE(WaitForIndex());
    for (const char* damage :
         {"drop table qn_search_days", "drop table qn_search", "delete from qn_search_data where id = 10"}) {
        dm.reset();
        {
            qn::SqliteConnection other(Path(), qn::SqliteConnection::Mode::ReadWrite);
            qn::RegisterSearchTokenizer(other.handle());
            ASSERT_EQ(other.Execute(damage), SQLITE_DONE) << damage;
        }
        dm = std::make_unique<TDM>(folder);
        ASSERT_TRUE(dm->ConnectDatabase());
        ASSERT_TRUE(WaitForIndex()) << damage;
        ExpectExact(7, true);
    }
}

TEST_F(SearchTest, OlderFileIsCopiedBeforeItsSchemaChanges)
{
    Save({{"20100601", "{\\rtf1 a}", QStringLiteral("旧文件的笔记")}});
    dm.reset();
    Foreign("drop table if exists qn_search_days");
    {
        qn::SqliteConnection other(Path(), qn::SqliteConnection::Mode::ReadWrite);
        qn::RegisterSearchTokenizer(other.handle());
        ASSERT_EQ(other.Execute("drop table qn_search"), SQLITE_DONE);
        ASSERT_EQ(other.Execute("pragma user_version = 1"), SQLITE_DONE);
    }
    dm = std::make_unique<TDM>(folder);
    ASSERT_TRUE(dm->ConnectDatabase());
    const QStringList copies = QDir(folder.dataFile(QStringLiteral("Backup"))).entryList(QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    qn::SqliteConnection copy(folder.dataFile(QStringLiteral("Backup/")) + copies.first(),
                              qn::SqliteConnection::Mode::ReadOnly);
    EXPECT_EQ(copy.QueryText("pragma user_version"), QStringLiteral("1"));
    EXPECT_EQ(copy.QueryText("select ContentBak from tb_NewQN"), QStringLiteral("旧文件的笔记"));
    ASSERT_TRUE(WaitForIndex());
    EXPECT_EQ(Find(QStringLiteral("笔记")), (Keys{"20100601"}));

    // A new notebook has nothing to keep: no copy.
    QTemporaryDir empty;
    const qn::ProgramFolder fresh(empty.path());
    ASSERT_TRUE(fresh.ensureDataFolder());
    TDM newDm(fresh);
    ASSERT_TRUE(newDm.ConnectDatabase());
    EXPECT_FALSE(QFileInfo::exists(fresh.dataFile(QStringLiteral("Backup"))));
}

// Before the file has passed its check the notebook only reads it: searches
// read the notes, and neither the index keeper nor the copy made before a
// schema change writes anything. Once it has passed, the keeper holds back
// while notes wait in memory for the store, and never changes a note.
TEST_F(SearchTest, NothingIsWrittenBeforeTheCheckAndTheKeeperHoldsBackForHeldNotes)
{
    Save({{"20100601", "{\\rtf1 a}", QStringLiteral("旧文件的笔记")}});
    dm.reset();
    {
        qn::SqliteConnection other(Path(), qn::SqliteConnection::Mode::ReadWrite);
        qn::RegisterSearchTokenizer(other.handle());
        ASSERT_EQ(other.Execute("drop table qn_search"), SQLITE_DONE);
        ASSERT_EQ(other.Execute("drop table qn_search_days"), SQLITE_DONE);
        ASSERT_EQ(other.Execute("pragma user_version = 1"), SQLITE_DONE);
    }
    Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values ('20100602', ?1)",
            {QByteArray("\xE4\xBC\x9A\xFF \xE8\xAE\xAE")});
    auto notesFile = [this] {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray before = notesFile();

    dm = std::make_unique<TDM>(folder);
    ASSERT_TRUE(dm->OpenForReading());
    bool fromIndex = true;
    EXPECT_EQ(Find(QStringLiteral("笔记"), &fromIndex), (Keys{"20100601"}));
    EXPECT_FALSE(fromIndex);
    EXPECT_FALSE(dm->Search().IndexInStep());
    dm.reset();
    EXPECT_EQ(notesFile(), before);
    EXPECT_FALSE(QFileInfo::exists(folder.dataFile(QStringLiteral("Backup"))));

    // Passed, with a note held: the copy and the schema change go ahead, the
    // index waits.
    auto allNotes = [this] {
        qn::SqliteConnection other(Path(), qn::SqliteConnection::Mode::ReadOnly);
        return other.QueryText(
            "select group_concat(YearMonthStr || hex(Content) || hex(ContentBak), '|') "
            "from (select * from tb_NewQN order by rowid)");
    };
    const QString notesBefore = allNotes();
    dm = std::make_unique<TDM>(folder);
    ASSERT_TRUE(dm->OpenForReading());
    dm->SetSavesHeld(true);
    ASSERT_EQ(dm->OpenForWriting(), qn::StoreStatus::Ok);
    EXPECT_EQ(qn::ListBackups(Path()).size(), 1u);
    EXPECT_FALSE(dm->Search().WaitForKeeper(300));
    {
        // The keeper holds no write lock: another writer gets it at once.
        qn::SqliteConnection other(Path(), qn::SqliteConnection::Mode::ReadWrite, 0);
        EXPECT_EQ(other.Execute("begin immediate"), SQLITE_DONE);
        other.Execute("rollback");
    }
    dm->SetSavesHeld(false);
    ASSERT_TRUE(WaitForIndex());
    EXPECT_EQ(Find(QStringLiteral("笔记"), &fromIndex), (Keys{"20100601"}));
    EXPECT_TRUE(fromIndex);
    EXPECT_EQ(Find(QStringLiteral("会")), Scan(QStringLiteral("会")));
    EXPECT_EQ(allNotes(), notesBefore);
}

// The tokenizer takes whatever bytes a row holds: broken, cut and overlong
// UTF-8, encoded surrogates, code points past the last one, NUL, characters
// outside the BMP, case folds of odd kinds. The index stays consistent with
// the text (FTS5's own check tokenizes every row again and compares), and
// every piece of a note, read as the notebook reads it, finds exactly the
// days a scan finds.
TEST_F(SearchTest, AnyBytesInANoteAreIndexedConsistently)
{
    const QByteArray texts[] = {
        QByteArray("\xFF\xFE\xFD"),
        QByteArray("\xE4\xBC"),
        QByteArray("a\xC0\xAF"
                   "b/"),
        QByteArray("\xED\xA0\x80\xED\xB0\x80 surrogates"),
        QByteArray("\xF0\x9F\x98\x80\xF0\x9F\x98\x80 \xE7\xAC\x91"),
        QByteArray("x\0y\0", 4),
        QByteArray("\xF4\x90\x80\x80\xF8\x88\x80\x80\x80"),
        QStringLiteral("ǅǆǄ Straße STRASSE İi ﬀ ΣΑΣ σας").toUtf8(),
        QByteArray("\r\n\t \xE3\x80\x80"),
        QByteArray(3000, 'a') + QByteArray("\xE4"),
    };
    std::vector<QByteArray> rows(std::begin(texts), std::end(texts));
    // And random strings of the pieces UTF-8 is made of, whole or not.
    const QByteArray pieces[] = {"a",    "Z",        "\xC3\xA9", "\xE4\xBC\x9A", "\xF0\x9F\x98\x80",  "\xE4",
                                 "\x9A", "\xF0\x9F", "\xC0",     "\xFF",         QByteArray(1, '\0'), "\r\n",
                                 "\""};
    QRandomGenerator random(11);
    for (int i = 0; i < 300; ++i) {
        QByteArray row;
        for (int n = static_cast<int>(random.bounded(24)); n > 0; --n)
            row += pieces[random.bounded(static_cast<int>(std::size(pieces)))];
        rows.push_back(row);
    }
    std::map<std::string, QString> notes;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const std::string key = KeyOf(QDate(2020, 1, 1).addDays(i));
        Foreign("insert into tb_NewQN (YearMonthStr, ContentBak) values (?1, ?2)",
                {QByteArray::fromStdString(key), rows[static_cast<size_t>(i)]});
        notes[key] = QString::fromUtf8(rows[static_cast<size_t>(i)]);
    }
    Reopen();
    ASSERT_TRUE(WaitForIndex());
    ASSERT_EQ(dm->Search().IndexInStep(), true);
    {
        qn::SqliteStatement check(qn::SqliteHandle(dm->AdoCon()),
                                  "INSERT INTO qn_search (qn_search) VALUES ('integrity-check')");
        EXPECT_EQ(check.step(), SQLITE_DONE) << sqlite3_errmsg(qn::SqliteHandle(dm->AdoCon()));
    }
    std::set<QString> queries;
    for (const QByteArray& bytes : texts) {
        const QString text = QString::fromUtf8(bytes);
        const QList<uint> characters = text.toUcs4();
        for (qsizetype at = 0; at < std::min<qsizetype>(characters.size(), 12); ++at)
            for (const qsizetype length : {1, 2, 3, 5})
                if (at + length <= characters.size())
                    queries.insert(
                        QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData() + at), length));
    }
    for (const QString& query : queries) {
        Keys expected;
        for (auto it = notes.rbegin(); it != notes.rend(); ++it)
            if (qn::FoldForSearch(it->second).contains(qn::FoldForSearch(query)))
                expected.push_back(it->first);
        bool fromIndex = false;
        EXPECT_EQ(Find(query, &fromIndex), expected) << query.toStdString();
        EXPECT_TRUE(fromIndex);
    }
    // Half of a surrogate pair is no character of any note; index and scan
    // agree on it all the same.
    for (const QString& half : {QString(QChar(0xD83D)), QString(QChar(0xDE00)), QStringLiteral("a") + QChar(0xD83D)}) {
        const auto scanned = qn::ScanNotes(qn::SqliteHandle(dm->AdoCon()), half, 0);
        EXPECT_EQ(Find(half), KeysOf(scanned.value));
    }
    // Whatever was asked, the index is still trusted.
    EXPECT_TRUE(dm->Search().IndexInStep());
}

struct SnippetCase {
    const char* text;
    const char* query;
    const char* snippet;
    std::vector<qn::TextSpan> marks;
};

TEST(SearchSnippet, ShowsTheLineAroundTheFirstHitWithEveryHitMarked)
{
    const SnippetCase cases[] = {
        {"今天开会，明天开会", "开会", "今天开会，明天开会", {{2, 2}, {7, 2}}},
        {"Meeting at NOON\r\nlunch", "noon", "Meeting at NOON lunch", {{11, 4}}},
        {"第一行\r\n第二行有会议\r\n第三行", "会议", "…第二行有会议 第三行", {{5, 2}}},
        {"0123456789abcdefghijklmnopqrstuvwxyz命中", "命中", "…klmnopqrstuvwxyz命中", {{17, 2}}},
        {"命中0123456789", "命中", "命中0123…", {{0, 2}}},
        {"😀表情😀", "情😀", "😀表情😀", {{3, 3}}},
        {"没有", "找不到", "没有", {}},
        {"\t制表\t符", "表\t符", " 制表 符", {{2, 3}}},
    };
    for (const SnippetCase& c : cases) {
        const int width = std::string_view(c.text).starts_with("命中0") ? 6 : 60;
        const qn::Snippet s = qn::MakeSnippet(QString::fromUtf8(c.text), QString::fromUtf8(c.query), width);
        EXPECT_EQ(s.text, QString::fromUtf8(c.snippet)) << c.text;
        EXPECT_EQ(s.marks, c.marks) << c.text;
    }
}

TEST(SearchSnippet, DayKeysAreEightDigitsOfAValidDate)
{
    EXPECT_EQ(qn::DayNumberOfKey("20240229"), 20240229);
    for (const char* notADay : {"20230229", "2024022", "202402290", "2024-2-9", " 20240229", "00000101", ""})
        EXPECT_FALSE(qn::DayNumberOfKey(notADay)) << notADay;
}

}  // namespace
