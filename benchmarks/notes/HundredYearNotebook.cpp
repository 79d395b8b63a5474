#include "benchmarks/notes/HundredYearNotebook.h"

#include "notes/rtf/RtfStream.h"
#include "store/SearchKeeper.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteConnection.h"
#include "store/SqliteStatement.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <sqlite3.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace bench {
namespace {

// Bumped whenever the text or the layout changes, so a kept file of an
// older kind is made again.
constexpr int kVersion = 2;

// Diary phrases, the most frequent first.
const char* const kPhrases[] = {
    "今天", "我们",   "开会",     "工作", "时间",   "的",   "了",     "问题", "会议",   "项目进度", "明天", "下午",
    "上午", "晚上",   "客户",     "电话", "讨论",   "计划", "完成",   "需要", "报告",   "孩子",     "学校", "老师",
    "吃饭", "朋友",   "天气",     "下雨", "晴天",   "记得", "买菜",   "水果", "银行",   "办理业务", "周末", "周末爬山",
    "看书", "写字",   "锻炼身体", "跑步", "游泳",   "医院", "体检",   "复查", "妈妈",   "爸爸",     "回家", "出差",
    "北京", "上海",   "广州",     "火车", "飞机",   "机票", "预算",   "合同", "签字",   "邮件",     "回复", "整理",
    "文件", "资料",   "方案",     "修改", "第二版", "领导", "同事",   "部门", "总结",   "年度",     "季度", "目标",
    "重要", "紧急",   "提醒",     "注意", "检查",   "作业", "考试",   "成绩", "家长会", "生日",     "礼物", "蛋糕",
    "聚餐", "电影",   "音乐",     "旅行", "照片",   "公园", "散步",   "超市", "打折",   "快递",     "收到", "寄出",
    "房租", "水电费", "物业",     "维修", "空调",   "冰箱", "洗衣机", "装修", "搬家",   "新年",     "春节", "元宵",
    "端午", "中秋",   "国庆",     "放假", "加班",   "请假", "休息",   "睡觉", "早起",
};
// Rare phrases: each box holds one of them only now and then.
const char* const kRarePhrases[] = {"练琴", "书法课", "鹦鹉", "钓鱼比赛"};
const char* const kLatin[] = {"PPT", "Email", "OK", "meeting", "Python", "Excel", "WiFi", "KPI"};
const char* const kPunctuation[] = {"，", "。", "、", "；", "！"};

constexpr int kTargetBytes = 2048;

// A small deterministic generator (the text must not change between runs).
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) { }
    double Unit()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state >> 11) / static_cast<double>(1ull << 53);
    }
    int Below(int n) { return static_cast<int>(Unit() * n); }

private:
    quint64 m_state;
};

QString KeptPath()
{
    const QByteArray named = qgetenv("QN_BENCH_NOTEBOOK");
    if (!named.isEmpty())
        return QString::fromLocal8Bit(named);
    return QDir::tempPath() + QStringLiteral("/qn-bench-100-years-v%1.mdb").arg(kVersion);
}

bool Run(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool Generate(const QString& path)
{
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    sqlite3* db = nullptr;
    if (sqlite3_open(partial.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    bool ok = Run(db, "PRAGMA journal_mode=WAL") && Run(db, "PRAGMA synchronous=OFF")
        && Run(db, "CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)")
        && Run(db, "CREATE INDEX idx_tb_NewQN_YearMonthStr ON tb_NewQN (YearMonthStr)") && Run(db, "BEGIN");
    {
        qn::SqliteStatement insert(db, "INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) VALUES (?1, ?2, ?3)");
        QTextDocument doc;
        const QDate first = QDate(kFirstYear, 1, 1).addDays((8 - QDate(kFirstYear, 1, 1).dayOfWeek()) % 7);
        for (int week = 0; ok && week < kWeeks; ++week) {
            for (int box = 0; ok && box < kBoxesPerWeek; ++box) {
                const QString plain = DiaryText(week, box);
                doc.setPlainText(plain);
                const QString key = first.addDays(week * 7 + box).toString(QStringLiteral("yyyyMMdd"));
                qn::StatementUse use(insert);
                ok = insert.bind(1, key) && insert.bindBlob(2, WriteRtf(doc)) && insert.bind(3, PlainTextCrLf(doc))
                    && insert.step() == SQLITE_DONE;
            }
        }
    }
    // The schema version of a notebook whose index is made below.
    ok = ok && Run(db, "COMMIT") && Run(db, "PRAGMA user_version = 2");
    sqlite3_close(db);
    return ok && QFile::rename(partial, path);
}

}  // namespace

QString DiaryText(int week, int box)
{
    Random random(static_cast<quint64>(week) * 8 + static_cast<quint64>(box) + 1);
    const int phrases = static_cast<int>(std::size(kPhrases));
    QString text;
    int bytes = 0;
    while (bytes < kTargetBytes) {
        QString piece;
        const double roll = random.Unit();
        if (roll < 0.00002)
            piece = QString::fromUtf8(kRarePhrases[random.Below(static_cast<int>(std::size(kRarePhrases)))]);
        else if (roll < 0.03)
            piece = QString::fromUtf8(kLatin[random.Below(static_cast<int>(std::size(kLatin)))]);
        else if (roll < 0.05)
            piece = QString::number(random.Below(24)) + QStringLiteral("点");
        else
            piece = QString::fromUtf8(kPhrases[static_cast<int>(phrases * std::pow(random.Unit(), 2.0))]);
        const double after = random.Unit();
        if (after < 0.35)
            piece += QString::fromUtf8(kPunctuation[random.Below(static_cast<int>(std::size(kPunctuation)))]);
        else if (after < 0.38)
            piece += QLatin1Char('\n');
        text += piece;
        bytes += static_cast<int>(piece.toUtf8().size());
    }
    return text;
}

GeneratedNotebook HundredYearNotebook()
{
    GeneratedNotebook notebook;
    notebook.path = KeptPath();
    if (QFileInfo::exists(notebook.path))
        return notebook;
    std::fprintf(stderr, "Generating the 100-year notebook in %s ...\n", qPrintable(notebook.path));
    QElapsedTimer timer;
    timer.start();
    const QString partial = notebook.path + QStringLiteral(".rows");
    QFile::remove(partial);
    if (!Generate(partial))
        return {};
    notebook.generateSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    // The index is built as a notebook's first start with it would build it.
    timer.restart();
    {
        qn::SqliteConnection db(partial, qn::SqliteConnection::Mode::ReadWrite);
        db.Execute("PRAGMA synchronous=NORMAL");  // as the keeper has it
        qn::RegisterSearchTokenizer(db.handle());
        std::atomic<bool> stop{false};
        if (qn::BringSearchIndexInStep(db.handle(), stop) != qn::StoreStatus::Ok)
            return {};
        db.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    notebook.indexSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::fprintf(stderr, "Rows written in %.1f s, index built in %.1f s.\n", notebook.generateSeconds,
                 notebook.indexSeconds);
    if (!QFile::rename(partial, notebook.path))
        return {};
    return notebook;
}

bool CopyNotebookInto(const QString& dataFolder)
{
    const GeneratedNotebook notebook = HundredYearNotebook();
    if (notebook.path.isEmpty())
        return false;
    const QString target = dataFolder + QStringLiteral("/UserData.mdb");
    QFile::remove(target);
    return QFile::copy(notebook.path, target)
        && QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace bench
