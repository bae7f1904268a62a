#pragma once
// A stress data set for benchmarks and manual trials.

#include <QDate>
#include <QString>

namespace core::db {
class Database;
}

namespace stress {

struct Size {
    int customers = 100000;
    int numbersPerCustomer = 3;
    int calls = 1000000;
    int days = 730; // calls spread over this many days up to lastDay
};

// Fills a data database (made from the shipped one) in one transaction.
// Returns false with *error set when a write fails.
bool fill(core::db::Database& data, const Size& size, const QDate& lastDay, QString* error);

} // namespace stress
