#include "tools/vendor/rss_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(XmlEscapeTest, AlwaysGivesWellFormedCharacterData) {
  struct {
    std::string text;
    std::string escaped;
  } cases[] = {
      {"Totals < 0 & \"more\" > 1", "Totals &lt; 0 &amp; &quot;more&quot; &gt; 1"},
      {"Caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x93\xA6", "Caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x93\xA6"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {std::string("nul\0bell\a", 9), "nulbell"},
      {"latin1 caf\xE9!", "latin1 caf\xEF\xBF\xBD!"},
      {"cut \xE6\x9D", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"not a character \xEF\xBF\xBF", "not a character \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(XmlEscape(c.text), c.escaped) << c.text;
    std::string appended = "<d>";
    AppendXmlEscaped(c.text, &appended);
    EXPECT_EQ(appended, "<d>" + c.escaped) << c.text;
  }
}

TEST(Rfc822DateTest, FormatsStoredStampsInEnglish) {
  struct {
    const char* stamp;
    const char* date;
  } cases[] = {
      {"2021-07-06 09:30:00", "Tue, 06 Jul 2021 09:30:00 GMT"},
      {"2000-02-29 23:59:59", "Tue, 29 Feb 2000 23:59:59 GMT"},
      {"1999-12-31 00:00:00", "Fri, 31 Dec 1999 00:00:00 GMT"},
      {"2021-02-30 10:00:00", ""},
      {"2021-07-06", ""},
      {"2021-07-06 09:30:00 trailing", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Rfc822Date(c.stamp), c.date) << c.stamp;
}

std::string Format(size_t (*format)(std::string_view, char (&)[kRfc822DateCapacity]),
                   std::string_view stamp) {
  char text[kRfc822DateCapacity];
  return std::string(text, format(stamp, text));
}

// The direct path for stored stamps must say exactly what strptime and timegm say,
// on the calendar's edges and on every field just out of range.
TEST(Rfc822DateTest, DirectPathAgreesWithStrptime) {
  const int years[] = {0, 1, 99, 100, 1582, 1899, 1900, 1970, 1999, 2000, 2021, 2024, 2100, 9999};
  const int hours[] = {0, 9, 23, 24, 99};
  const int minutes_seconds[] = {0, 30, 59, 60, 61, 99};
  int compared = 0, dates = 0;
  char stamp[64];
  for (int year : years)
    for (int month = 0; month <= 13; ++month)
      for (int day = 0; day <= 32; ++day) {
        snprintf(stamp, sizeof stamp, "%04d-%02d-%02d 12:34:56", year, month, day);
        std::string direct = Format(FormatRfc822Date, stamp);
        EXPECT_EQ(direct, Format(FormatRfc822DateByStrptime, stamp)) << stamp;
        dates += !direct.empty();
        ++compared;
      }
  for (int hour : hours)
    for (int minute : minutes_seconds)
      for (int second : minutes_seconds) {
        for (const char* day : {"2021-07-06", "2021-12-31"}) {
          snprintf(stamp, sizeof stamp, "%s %02d:%02d:%02d", day, hour, minute, second);
          EXPECT_EQ(Format(FormatRfc822Date, stamp), Format(FormatRfc822DateByStrptime, stamp))
              << stamp;
          ++compared;
        }
      }
  const std::string odd_forms[] = {
      "2021-7-06 09:30:00",   "2021-07-6 09:30:00",  " 2021-07-06 09:30:00", "2021-07-06  9:30:00",
      "2021-07-06T09:30:00",  "2021/07/06 09:30:00", "2021-07-06 09:30",     "12021-07-06 09:30:00",
      "2021-07-06 09:30:00 ", "+021-07-06 09:30:00", "2021-07-06 09:3a:00",
      std::string("2021-07-06 09:30:00\0x", 21), std::string("2021-07-06\0" "09:30:00", 19)};
  for (const std::string& form : odd_forms) {
    EXPECT_EQ(Format(FormatRfc822Date, form), Format(FormatRfc822DateByStrptime, form)) << form;
    ++compared;
  }
  EXPECT_GT(dates, 4000);  // most of the calendar grid is made of real dates
  EXPECT_GT(compared, 6000);
}

}  // namespace
