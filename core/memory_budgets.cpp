#include "core/memory_budgets.h"

#include <charconv>

namespace sx {
namespace {

constexpr std::int64_t kTableByteLimit = std::int64_t{4} << 30;  // 4 GiB per table

template <typename Record>
bool BudgetFits(std::int64_t count) {
  return count > 0 && (count + 1) * static_cast<std::int64_t>(sizeof(Record)) <= kTableByteLimit;
}

// Reads a field as a signed decimal integer (leading blanks and a sign allowed, trailing blanks
// ignored); false for anything else or a value outside int64.
bool ReadInteger(std::string_view text, std::int64_t& out) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

bool IsNumericBudgetValid(std::int64_t maxNumericItems) {
  return BudgetFits<NumericItem>(maxNumericItems) && maxNumericItems <= INT32_MAX - 1;
}

bool IsTextBudgetValid(std::int64_t maxTextItems) {
  return BudgetFits<TextItem>(maxTextItems) && maxTextItems <= INT32_MAX - 1;
}

MemoryBudgets SanitizeBudgets(MemoryBudgets budgets) {
  if (!IsNumericBudgetValid(budgets.MaxNumericItems)) {
    budgets.MaxNumericItems = kDefaultMaxNumericItems;
  }
  if (!IsTextBudgetValid(budgets.MaxTextItems)) budgets.MaxTextItems = kDefaultMaxTextItems;
  return budgets;
}

std::int32_t ReadNumericBudgetField(std::string_view text, std::int32_t remembered) {
  std::int64_t v = 0;
  if (!ReadInteger(text, v) || !IsNumericBudgetValid(v)) return remembered;
  return static_cast<std::int32_t>(v);
}

std::int32_t ReadTextBudgetField(std::string_view text, std::int32_t remembered) {
  std::int64_t v = 0;
  if (!ReadInteger(text, v) || !IsTextBudgetValid(v)) return remembered;
  return static_cast<std::int32_t>(v);
}

}  // namespace sx
