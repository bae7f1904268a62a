#include <QAbstractItemModelTester>
#include <QTest>

#include "pagedtablemodel.h"
#include "testfiles.h"

namespace {

// n calls, newest first, the way the call list fills its work table.
void fillCalls(core::db::Database& work, int n) {
    core::db::Transaction tx(work);
    const QDateTime start(QDate(2026, 12, 1), QTime(9, 0));
    for (int i = 0; i < n; ++i) {
        if (!work.execute("insert into w着信履歴 (チェック, code, 日付時間, 名称, 済) values "
                          "(False, ?, ?, ?, ?)",
                          {i, start.addSecs(-60 * i), QStringLiteral("顧客%1").arg(i), i % 2 == 0})) {
            qFatal("%s", qPrintable(work.lastError()));
        }
    }
    tx.commit();
}

} // namespace

class TestPagedTableModel : public QObject {
    Q_OBJECT
private slots:
    void readsRowsInBlocksAsTheyAreShown() {
        TestFiles files;
        auto work = files.work();
        const int n = core::PagedTableModel::kBlockRows * (core::PagedTableModel::kBlocksKept + 6) + 7;
        fillCalls(*work, n);
        core::PagedTableModel model(*work, "w着信履歴", {"チェック", "code", "日付時間", "名称", "済"});
        QVERIFY(model.refresh());
        QCOMPARE(model.rowCount(), n);
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.blocksHeld(), 0);
        // Stored order, across block boundaries and into the short last block.
        for (int row : {0, core::PagedTableModel::kBlockRows - 1, core::PagedTableModel::kBlockRows,
                        n / 2, n - 1}) {
            QCOMPARE(model.data(model.index(row, 1)).toInt(), row);
            QCOMPARE(model.value(row, "名称").toString(), QStringLiteral("顧客%1").arg(row));
            QCOMPARE(model.value(row, "日付時間").toDateTime(),
                     QDateTime(QDate(2026, 12, 1), QTime(9, 0)).addSecs(-60 * row));
        }
        // Scrolling through everything keeps a bounded number of blocks.
        for (int row = 0; row < n; row += 17) {
            QCOMPARE(model.data(model.index(row, 1)).toInt(), row);
        }
        QCOMPARE(model.blocksHeld(), core::PagedTableModel::kBlocksKept);
        QVERIFY(!model.data(model.index(n, 1)).isValid());
    }

    void ticksWriteThroughAndOtherColumnsStayReadOnly() {
        TestFiles files;
        auto work = files.work();
        fillCalls(*work, 600);
        core::PagedTableModel model(*work, "w着信履歴");
        QAbstractItemModelTester tester(&model);
        model.setEditableColumns({"チェック"});
        QVERIFY(model.refresh());
        const int tick = model.columnOf("チェック");
        const int done = model.columnOf("済");
        QCOMPARE(model.data(model.index(0, done), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!(model.flags(model.index(0, done)) & Qt::ItemIsUserCheckable));
        QVERIFY(!model.setData(model.index(3, done), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(3, model.columnOf("名称")), "x"));
        // A tick in a block already read, and one in a block not read yet.
        model.data(model.index(300, tick), Qt::CheckStateRole);
        QVERIFY(model.setData(model.index(300, tick), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(5, tick), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(model.data(model.index(300, tick), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model.data(model.index(5, tick), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(work->scalar("select count(*) from w着信履歴 where チェック = True").toInt(), 2);
        QCOMPARE(work->scalar("select code from w着信履歴 where チェック = True order by code")
                     .toInt(),
                 5);
    }

    void aRefillIsShownAfterRefreshAndAGoneRowShowsEmpty() {
        TestFiles files;
        auto work = files.work();
        fillCalls(*work, 10);
        core::PagedTableModel model(*work, "w着信履歴", {"code", "名称"});
        QVERIFY(model.refresh());
        // A row removed behind the model's back leaves its place empty
        // instead of shifting the rows below it.
        QVERIFY(work->execute("delete * from w着信履歴 where code = 4"));
        QVERIFY(!model.value(4, "名称").isValid() || model.value(4, "名称").isNull());
        QCOMPARE(model.value(5, "code").toInt(), 5);
        QVERIFY(work->execute("delete * from w着信履歴"));
        fillCalls(*work, 3);
        QVERIFY(model.refresh());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.value(2, "名称").toString(), QStringLiteral("顧客2"));
        QVERIFY(work->execute("delete * from w着信履歴"));
        QVERIFY(model.refresh());
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_MAIN(TestPagedTableModel)
#include "tst_pagedtablemodel.moc"
