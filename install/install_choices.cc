#include "install/install_choices.h"

#include <cstring>

#include "system/fixed_text.h"

namespace qov {

InstallChoices install_choices;

void reset_install_choices() {
  InstallChoices& c = install_choices;
  std::memset(&c, ' ', sizeof c);
  set_text(c.install_started, "N");
  set_text(c.system32_present, "N");
  set_nuls(c.country_digit);
  set_nuls(c.archive_extension);
  set_nuls(c.target_folder);
}

} // namespace qov
