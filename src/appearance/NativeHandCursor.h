// Links show the system's own hand cursor.
#pragma once

namespace kavrolt {

// Enters the system's hand cursor (IDC_HAND) as the cursor of links; on a
// system without one, links show the arrow. Windows only.
void InitNativeHandCursor();

} // namespace kavrolt
