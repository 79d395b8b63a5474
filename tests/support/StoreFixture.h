#pragma once
// A fresh program folder with an open notes database, and helpers to look at
// the rows directly.

#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "store/uDM.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

struct StoredRow {
    QString key;
    QByteArray content;
    QString contentBak;
    bool contentIsNull = false;
};

class StoreFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = qn::ProgramFolder(dir.path());
        ASSERT_TRUE(folder.ensureDataFolder());
        qn::SetMessageSink([](const QString&, const QString&) {});
        dm = std::make_unique<TDM>(folder);
        ASSERT_TRUE(dm->ConnectDatabase());
        // The search index's keeper has looked at the new file and let go of
        // it: what a test writes beside the notebook meets no reader of ours
        // (a checkpoint the test asks for copies the whole log).
        ASSERT_TRUE(dm->Search().WaitForKeeper(60000));
    }
    void TearDown() override
    {
        dm.reset();
        qn::SetMessageSink(nullptr);
    }

    std::vector<StoredRow> Rows(const QString& where = QString()) const
    {
        std::vector<StoredRow> rows;
        QSqlQuery q(dm->AdoCon());
        EXPECT_TRUE(q.exec(QStringLiteral("select YearMonthStr, Content, ContentBak from tb_NewQN ") + where
                           + QStringLiteral(" order by YearMonthStr, rowid")));
        while (q.next())
            rows.push_back(
                {q.value(0).toString(), q.value(1).toByteArray(), q.value(2).toString(), q.value(1).isNull()});
        return rows;
    }

    void Exec(const QString& statement) const
    {
        QSqlQuery q(dm->AdoCon());
        ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
    }

    QTemporaryDir dir;
    qn::ProgramFolder folder;
    std::unique_ptr<TDM> dm;
};
