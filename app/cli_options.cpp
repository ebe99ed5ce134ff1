#include "app/cli_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "settings/template_file.h"

namespace sx::cli {
namespace {

bool ReadBudget(const std::string& text, std::int64_t& out) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      o.files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--template") {
      if (i + 1 >= args.size()) {
        o.error = "--template needs a file";
        return o;
      }
      o.templatePath = args[++i];
    } else if (a == "--numeric-items" || a == "--text-items") {
      std::int64_t v = 0;
      if (i + 1 >= args.size() || !ReadBudget(args[i + 1], v)) {
        o.error = a + " needs a number";
        return o;
      }
      ++i;
      const bool numeric = a == "--numeric-items";
      if (numeric ? !IsNumericBudgetValid(v) : !IsTextBudgetValid(v)) {
        o.error =
            a + ": " + args[i] + " is not a usable budget (1 and more, at most 4 GiB of table)";
        return o;
      }
      (numeric ? o.budgets.MaxNumericItems : o.budgets.MaxTextItems) = static_cast<std::int32_t>(v);
      o.budgetsGiven = true;
    } else {
      o.error = "unknown option " + a;
      return o;
    }
  }
  return o;
}

bool ParsePictureSize(const std::string& text, std::int32_t& width, std::int32_t& height,
                      std::string& error) {
  const auto side = [](std::string_view piece, std::int32_t& out) {
    const auto [p, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), out);
    return ec == std::errc() && p == piece.data() + piece.size() && out >= 1 &&
           out <= kMaxPictureSide;
  };
  const std::size_t x = text.find_first_of("xX");
  if (x != std::string::npos && side(std::string_view(text).substr(0, x), width) &&
      side(std::string_view(text).substr(x + 1), height)) {
    return true;
  }
  error = "--size wants WxH with sides of 1 to 20000 pixels, not " + text;
  return false;
}

std::string EscapeName(std::string_view name) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte == 0x7f) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    } else {
      out += c;
    }
  }
  return out;
}

std::string EscapeNames(std::string text, std::initializer_list<std::string_view> names) {
  // The bytes of every occurrence, found in the text as given, are escaped in one pass, so that
  // names inside one another (a file and its output) are never escaped twice.
  std::vector<bool> inName;
  for (const std::string_view name : names) {
    if (name.empty() || EscapeName(name) == name) continue;
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
      inName.resize(text.size());
      std::fill_n(inName.begin() + static_cast<std::ptrdiff_t>(at), name.size(), true);
    }
  }
  if (inName.empty()) return text;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (inName[i]) {
      out += EscapeName(std::string_view(&text[i], 1));
    } else {
      out += text[i];
    }
  }
  return out;
}

void PrintMessages(RecordingUserInterface& ui, std::ostream& err,
                   std::initializer_list<std::string_view> names) {
  for (const auto& m : ui.messages) err << EscapeNames(m.text, names) << "\n";
  ui.messages.clear();
}

int TemplateExitStatus(std::int32_t code) {
  return code == kTemplateCouldNotOpen ? 1 : 2;
}

}  // namespace sx::cli
