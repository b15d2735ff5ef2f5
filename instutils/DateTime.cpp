#include "instutils/DateTime.h"

#include <cmath>

namespace inst {
namespace {

constexpr double kMsPerDay = 86400000.0;

// Days between 1970-01-01 and the given civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<long>(yoe) + era * 400 + (m <= 2));
}

const long kEpochOffset = DaysFromCivil(1899, 12, 30);

}  // namespace

double EncodeDateTime(const DateTimeParts& p) {
  const long days = DaysFromCivil(p.year, p.month, p.day) - kEpochOffset;
  const double ms = p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0;
  return static_cast<double>(days) + ms / kMsPerDay;
}

DateTimeParts DecodeDateTime(double value) {
  double days = std::floor(value);
  long ms = std::lround((value - days) * kMsPerDay);
  if (ms >= static_cast<long>(kMsPerDay)) {
    ms -= static_cast<long>(kMsPerDay);
    days += 1;
  }
  DateTimeParts p;
  CivilFromDays(static_cast<long>(days) + kEpochOffset, p.year, p.month, p.day);
  const long secs = (ms + 500) / 1000;
  p.hour = static_cast<int>(secs / 3600);
  p.minute = static_cast<int>(secs / 60 % 60);
  p.second = static_cast<int>(secs % 60);
  if (p.hour == 24) {  // rounding up the last half second of a day
    return DecodeDateTime(std::floor(value) + 1);
  }
  return p;
}

double DosDateTimeToDate(std::uint16_t dosDate, std::uint16_t dosTime) {
  DateTimeParts p;
  p.year = 1980 + (dosDate >> 9);
  p.month = (dosDate >> 5) & 0x0F;
  p.day = dosDate & 0x1F;
  p.hour = dosTime >> 11;
  p.minute = (dosTime >> 5) & 0x3F;
  p.second = 2 * (dosTime & 0x1F);
  return EncodeDateTime(p);
}

bool DateToDosDateTime(double value, std::uint16_t& dosDate, std::uint16_t& dosTime) {
  const DateTimeParts p = DecodeDateTime(value);
  if (p.year < 1980 || p.year > 2099) return false;
  dosDate = static_cast<std::uint16_t>((p.year - 1980) << 9 | p.month << 5 | p.day);
  dosTime = static_cast<std::uint16_t>(p.hour << 11 | p.minute << 5 | p.second / 2);
  return true;
}

}  // namespace inst
