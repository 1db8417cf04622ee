// The end of an installation of "pos" or "apl": the documentation files, the
// GUI closed, then the product started or the closing message shown.
#pragma once

namespace qov {

[[noreturn]] void complete_installation();

} // namespace qov
