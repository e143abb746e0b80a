// Counting this process's GDI objects where GetGuiResources cannot (it always says 0 under
// Wine): the live entries of the process's GDI handle table, which Wine lays out as Windows does.
#pragma once

#include <optional>

namespace robustness {

// The number of live GDI objects, or empty when the table is not there or does not follow the
// objects this process creates and deletes (checked on each call with a few brushes).
std::optional<long long> GdiObjectsInHandleTable();

} // namespace robustness
