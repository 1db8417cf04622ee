#include "install/application_archives.h"

#include <string_view>

#include "install/install_choices.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/primitives.h"

namespace qov {

char posto_source_folder[80];
char app_source_folder[80];

namespace {

bool is_pos() {
  return holds(install_choices.module_code, "pos");
}

bool is_angola() {
  return holds(install_choices.country, "angola");
}

Field archive_field() {
  return extraction_block().archive;
}

// The archive field after the source folder: the file name the installer
// joined, the only part the name replacements may change. A folder the CD is
// reached through keeps its own name even when it holds a replaced text.
Field file_part(std::size_t folder_length) {
  return archive_field().subspan(folder_length);
}

// folder, stem, version, part ("_1." ...), archive extension.
Field numbered_archive(ConstField folder, std::string_view stem, std::string_view part) {
  const InstallChoices& c = install_choices;
  NameJoiner name(archive_field());
  std::size_t folder_length = name.folder(folder).length();
  name.literal(stem).choice(c.version_code).literal(part).choice(c.archive_extension);
  return file_part(folder_length);
}

// folder, stem, version, country digit, ".", archive extension.
Field country_archive(ConstField folder, std::string_view stem) {
  const InstallChoices& c = install_choices;
  NameJoiner name(archive_field());
  std::size_t folder_length = name.folder(folder).length();
  name.literal(stem).choice(c.version_code).choice(c.country_digit).literal(".");
  name.choice(c.archive_extension);
  return file_part(folder_length);
}

// Angola's archives carry the country in the version digits.
void angola_digits(Field file) {
  if (is_angola())
    replace_all(file, "4601", "4611");
}

} // namespace

void build_source_folders() {
  const InstallChoices& c = install_choices;
  set_spaces(posto_source_folder);
  if (is_pos()) {
    NameJoiner(posto_source_folder)
        .cd_root(c.cd_root)
        .choice(c.country)
        .literal("\\")
        .choice(c.runtime_family)
        .literal("\\520");
    end_folder_field(posto_source_folder);
  }
  set_spaces(app_source_folder);
  NameJoiner(app_source_folder)
      .cd_root(c.cd_root)
      .choice(c.country)
      .literal("\\")
      .choice(c.runtime_family)
      .literal("\\")
      .choice(c.version_code);
  end_folder_field(app_source_folder);
}

void extract_application_archives() {
  if (is_pos())
    numbered_archive(posto_source_folder, "\\pos", "_1.");
  else
    numbered_archive(app_source_folder, "\\qov", "_1.");
  extract_archive();
  numbered_archive(app_source_folder, "\\qov", "_2.");
  extract_archive();
  numbered_archive(app_source_folder, "\\qov", "_3.");
  extract_archive();
  angola_digits(country_archive(app_source_folder, "\\emp0"));
  extract_archive();
  if (!is_pos())
    return;

  // The Zavod archive of the country, then the invoicing archives: each
  // name changes the one before it.
  Field file = country_archive(posto_source_folder, "\\pos0");
  replace_all(file, "co@", "c1@");
  replace_all(file, "in@", "i1@");
  replace_all(file, "ex@", "e1@");
  angola_digits(file);
  extract_archive();
  replace_all(file, "\\pos0", "\\fac0");
  extract_archive();
  replace_all(file, "1@", "2@");
  extract_archive();
  replace_all(file, "2@", "3@");
  extract_archive();
}

} // namespace qov
