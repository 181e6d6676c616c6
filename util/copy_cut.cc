#include "util/copy_cut.h"

#include <cstring>

char* CopyCut(char* target, size_t capacity, std::string_view text) {
  if (capacity == 0) return target;
  size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
  memcpy(target, text.data(), length);
  target[length] = '\0';
  return target;
}

char* CopyCut(char* target, size_t capacity, const char* text) {
  if (capacity == 0) return target;
  return CopyCut(target, capacity, std::string_view(text, strnlen(text, capacity - 1)));
}
