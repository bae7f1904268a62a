// Fills a data database with the stress data set:
//
//   mkstress <data database>      (a copy of the shipped RbCtiData2K.mdb)

#include "database.h"
#include "stressdata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: mkstress <data database>\n");
        return 2;
    }
    QString error;
    auto db = core::db::Database::open(app.arguments().at(1), &error);
    if (!db) {
        std::fprintf(stderr, "mkstress: %s\n", error.toUtf8().constData());
        return 1;
    }
    QElapsedTimer t;
    t.start();
    stress::Size size;
    if (!stress::fill(*db, size, QDate::currentDate(), &error)) {
        std::fprintf(stderr, "mkstress: %s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf("%d customers, %d numbers, %d calls in %.1f s\n", size.customers,
                size.customers * size.numbersPerCustomer, size.calls, t.elapsed() / 1000.0);
    return 0;
}
