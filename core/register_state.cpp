#include "core/register_state.h"

namespace tallaro {

RegisterState register_state{};

}  // namespace tallaro
