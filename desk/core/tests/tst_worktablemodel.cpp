#include <QAbstractItemModelTester>
#include <QTest>

#include "testfiles.h"
#include "worktablemodel.h"

class TestWorkTableModel : public QObject {
    Q_OBJECT
private slots:
    void showsAndWritesThrough() {
        TestFiles files;
        auto work = files.work();
        QVERIFY(work->execute("insert into w着信履歴 (チェック, code, 日付時間, 名称, 済) values "
                              "(False, 2, ?, 'B', True)",
                              {QDateTime(QDate(2026, 12, 2), QTime(10, 0))}));
        QVERIFY(work->execute("insert into w着信履歴 (チェック, code, 日付時間, 名称, 済) values "
                              "(False, 1, ?, 'A', False)",
                              {QDateTime(QDate(2026, 12, 1), QTime(9, 0))}));
        core::WorkTableModel model(*work, "w着信履歴");
        QAbstractItemModelTester tester(&model);
        model.setEditableColumns({"チェック"});
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 11);
        QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), "名称");
        // Rows in the order they were appended.
        QCOMPARE(model.data(model.index(0, model.columnOf("名称"))).toString(), "B");
        QCOMPARE(model.data(model.index(0, model.columnOf("日付時間"))).toDateTime(),
                 QDateTime(QDate(2026, 12, 2), QTime(10, 0)));
        // Booleans are check boxes; only the editable column can be ticked.
        const QModelIndex tick = model.index(1, model.columnOf("チェック"));
        QVERIFY(model.flags(tick) & Qt::ItemIsUserCheckable);
        QVERIFY(!(model.flags(model.index(1, model.columnOf("済"))) & Qt::ItemIsUserCheckable));
        QCOMPARE(model.data(model.index(0, model.columnOf("済")), Qt::CheckStateRole).toInt(),
                 int(Qt::Checked));
        QVERIFY(model.setData(tick, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(work->scalar("select count(*) from w着信履歴 where チェック = True and 名称 = 'A'")
                     .toInt(),
                 1);

        core::WorkTableModel sorted(*work, "w着信履歴", {"code", "名称"}, "code");
        QCOMPARE(sorted.columnCount(), 2);
        QCOMPARE(sorted.data(sorted.index(0, 1)).toString(), "A");
        QVERIFY(sorted.appendRow({{"code", 3}, {"名称", "C"}}));
        QCOMPARE(sorted.rowCount(), 3);
        QVERIFY(sorted.removeRowAt(0));
        QCOMPARE(work->scalar("select count(*) from w着信履歴").toInt(), 2);
        QVERIFY(!sorted.appendRow({{"code", "not a number"}}));
        QVERIFY(sorted.lastError().contains("code"));
    }

    void deferredLoadingKnowsItsColumns() {
        TestFiles files;
        auto work = files.work();
        QVERIFY(work->execute("insert into w着信表示 (code, 名称) values (1, 'A')"));
        core::WorkTableModel model(*work, "w着信表示", {}, {}, nullptr, core::WorkTableModel::Load::Later);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 12);
        QCOMPARE(model.columnOf("新規"), 11);
        QCOMPARE(model.fieldType(11), 1);
        QVERIFY(model.refresh());
        QCOMPARE(model.rowCount(), 1);
    }

    void dateEditsAreStoredAsDates() {
        TestFiles files;
        auto work = files.work();
        QVERIFY(work->execute("insert into w着信表示 (code, 名称) values (1, 'A')"));
        core::WorkTableModel model(*work, "w着信表示");
        model.setEditableColumns({"日付"});
        QVERIFY(model.setData(model.index(0, model.columnOf("日付")), "H19/04/03"));
        QCOMPARE(work->scalar("select 日付 from w着信表示").toDateTime(),
                 QDateTime(QDate(2007, 4, 3), QTime(0, 0)));
        QVERIFY(!model.setData(model.index(0, model.columnOf("日付")), "someday"));
    }
};

QTEST_GUILESS_MAIN(TestWorkTableModel)
#include "tst_worktablemodel.moc"
