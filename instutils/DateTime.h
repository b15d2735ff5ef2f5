// Date-times as the payload and the install records carry them: a double counting days
// since 1899-12-30 00:00, the fraction being the time of day (local time). Passing through
// the file system they become MS-DOS dates and times, so only even seconds from 1980 on
// survive. Windows-free, shared with the payload writer.
#pragma once

#include <cstdint>

namespace inst {

struct DateTimeParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// Whole days plus (h x 3,600,000 + m x 60,000 + s x 1,000) / 86,400,000, in double precision.
double EncodeDateTime(const DateTimeParts& p);

// Splits a date-time into its parts, the time rounded to whole seconds.
DateTimeParts DecodeDateTime(double value);

// The packed FAT form: date = (year-1980)<<9 | month<<5 | day, time = h<<11 | m<<5 | s/2.
double DosDateTimeToDate(std::uint16_t dosDate, std::uint16_t dosTime);

// False (and nothing set) for years outside 1980..2099: such dates have no DOS form here.
bool DateToDosDateTime(double value, std::uint16_t& dosDate, std::uint16_t& dosTime);

}  // namespace inst
