#include <uuid/uuid.h>

#include "platform/uuid.h"

bool CreateUuidText(std::string* text) {
  uuid_t id;
  uuid_generate_random(id);
  if (uuid_is_null(id)) return false;
  char buffer[37];
  uuid_unparse_upper(id, buffer);
  *text = buffer;
  return true;
}
