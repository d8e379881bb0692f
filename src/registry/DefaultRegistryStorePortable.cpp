// Builds without a Windows registry keep the program's registry in memory.
#include "registry/MemoryRegistryStore.h"

namespace kavrolt {

RegistryStore& DefaultRegistryStore() {
    static MemoryRegistryStore store;
    return store;
}

} // namespace kavrolt
