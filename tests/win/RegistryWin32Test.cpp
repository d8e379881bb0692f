#include "common/RegistryBehaviourSuite.h"
#include "win/Win32Environment.h"

namespace kavrolt::test {

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryBehaviour, Win32Environment);

} // namespace kavrolt::test
