// Fonts: one fontconfig configuration and Pango font map for the whole program, holding the
// system's fonts plus the project's face aliases (fonts/carelog-fonts.conf), and the mapping
// of a FontSpec to a Pango font description.
//
// The alias file is looked for, in order: the file named by CARELOG_FONT_CONF, the source
// tree's copy, and fonts/carelog-fonts.conf beside the executable.
#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/host/graphics_native.h"

namespace carelog::host {

namespace {

// The faces that carelog-fonts.conf maps to installed families; offered by name like any
// installed family, since the definitions use these names.
constexpr const char* kAliasFaces[] = {"Arial",         "Arial Narrow",    "Courier New",
                                       "MS Sans Serif", "Times New Roman", "System"};

std::string ExecutableDirectory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

FcConfig* LoadConfig() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  std::string candidates[3];
  if (const char* env = std::getenv("CARELOG_FONT_CONF")) candidates[0] = env;
#ifdef CARELOG_HOST_FONT_CONF
  candidates[1] = CARELOG_HOST_FONT_CONF;
#endif
  std::string dir = ExecutableDirectory();
  if (!dir.empty()) candidates[2] = dir + "/fonts/carelog-fonts.conf";
  bool loaded = false;
  for (const std::string& path : candidates) {
    if (path.empty() || access(path.c_str(), R_OK) != 0) continue;
    if (FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcFalse)) {
      loaded = true;
      break;
    }
  }
  if (!loaded) {
    std::fprintf(stderr,
                 "carelog: font alias file carelog-fonts.conf not found; "
                 "face names fall back to the system's defaults\n");
  }
  // Made the process's current configuration, so that Pango's font map finds fontconfig
  // initialised and does not parse the system's configuration a second time.
  FcConfigSetCurrent(config);
  return config;
}

FcConfig* Config() {
  static FcConfig* config = LoadConfig();
  return config;
}

}  // namespace

namespace internal {

std::mutex& TextMutex() {
  static std::mutex mutex;
  return mutex;
}

PangoFontMap* FontMap() {
  static PangoFontMap* map = [] {
    FcConfig* config = Config();  // first: the new font map starts fontconfig at once
    PangoFontMap* m = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m), config);
    return m;
  }();
  return map;
}

PangoFontDescription* DescribeFont(const FontSpec& font, double dpi) {
  PangoFontDescription* d = pango_font_description_new();
  std::string family = AnsiToUtf8(font.face.empty() ? std::string("System") : font.face);
  pango_font_description_set_family(d, family.c_str());
  double points = font.points > 0 && font.points < 1000 ? font.points : 10;
  double units = points * dpi / 72.0;
  pango_font_description_set_absolute_size(d, std::round(units) * PANGO_SCALE);
  int weight = font.weight < 100 ? 400 : (font.weight > 1000 ? 1000 : font.weight);
  pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
  pango_font_description_set_style(d, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return d;
}

PangoLayout* CreateLayout(DeviceContext::Native& native) {
  if (!native.text_context) {
    native.text_context = pango_font_map_create_context(FontMap());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(native.text_context, options);
    cairo_font_options_destroy(options);
  }
  pango_cairo_update_context(native.cr, native.text_context);
  // Font sizes are given in the context's own units; a printer page's scale to points must
  // not enlarge them again.
  pango_context_set_matrix(native.text_context, nullptr);
  return pango_layout_new(native.text_context);
}

}  // namespace internal

std::string ResolvedFamily(const std::string& face) {
  std::lock_guard<std::mutex> lock(internal::TextMutex());
  FcConfig* config = Config();
  std::string utf8 = AnsiToUtf8(face);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string family;
  FcChar8* name = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
    family = reinterpret_cast<const char*>(name);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return family;
}

std::vector<std::string> FontFamilies() {
  std::vector<std::string> names(std::begin(kAliasFaces), std::end(kAliasFaces));
  {
    std::lock_guard<std::mutex> lock(internal::TextMutex());
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(internal::FontMap(), &families, &count);
    for (int i = 0; i < count; ++i) {
      if (const char* name = pango_font_family_get_name(families[i])) {
        names.push_back(Utf8ToAnsi(name));
      }
    }
    g_free(families);
  }
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  std::sort(names.begin(), names.end(),
            [&](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
  names.erase(
      std::unique(names.begin(), names.end(),
                  [&](const std::string& a, const std::string& b) { return lower(a) == lower(b); }),
      names.end());
  return names;
}

}  // namespace carelog::host

// Fontconfig keeps its configuration and caches for the life of the process, and SDL's
// D-Bus connection does the same; neither is ours to free, so the leak checker of sanitizing
// builds is told to look past them.
#if defined(__SANITIZE_ADDRESS__)
#define CARELOG_HOST_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CARELOG_HOST_LSAN 1
#endif
#endif
#ifdef CARELOG_HOST_LSAN
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
#endif
