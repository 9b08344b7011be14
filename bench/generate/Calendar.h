#pragma once

#include <QDate>

namespace bench {

// The generated company's time line, fixed so that every run describes the
// same history whatever day it runs: depreciation has been posted monthly up
// to December 2024 and the catalogue is looked at in mid-January 2025.
// Months are counted as year * 12 + month - 1.
namespace Calendar {

inline int monthOf(const QDate &date) { return date.year() * 12 + date.month() - 1; }
inline QDate firstDay(int month) { return QDate(month / 12, month % 12 + 1, 1); }
inline QDate lastDay(int month) { return firstDay(month + 1).addDays(-1); }

inline const QDate Today(2025, 1, 15);
constexpr int LastRun = 2024 * 12 + 11;
// The oldest assets were bought fifteen years before the last run.
constexpr int OldestAge = 180;

} // namespace Calendar

} // namespace bench
