#include "util/string_compare.h"

#include <cctype>
#include <cstring>

bool StringsEqualNoCase(const char* a, const char* b) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  if (strlen(a) != strlen(b)) return false;
  for (; *a != '\0'; ++a, ++b) {
    if (toupper(static_cast<unsigned char>(*a)) != toupper(static_cast<unsigned char>(*b)))
      return false;
  }
  return true;
}
