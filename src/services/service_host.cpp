#include "services/translation_client.h"

namespace parlavo {

const char* const SERVICE_HOST = PARLAVO_SERVICE_HOST;

}  // namespace parlavo
