#pragma once
// The sizes of the two item tables: kept in the window file for the next start and changed by the
// "Set memory" dialog.

#include <cstdint>
#include <string_view>

#include "core/data_model.h"

namespace sx {

struct MemoryBudgets {
  std::int32_t MaxNumericItems = kDefaultMaxNumericItems;
  std::int32_t MaxTextItems = kDefaultMaxTextItems;
};

// A budget is usable when it is positive and its table stays within 4 GiB.
bool IsNumericBudgetValid(std::int64_t maxNumericItems);
bool IsTextBudgetValid(std::int64_t maxTextItems);
// Replaces each unusable budget by its default.
MemoryBudgets SanitizeBudgets(MemoryBudgets budgets);

// The "Set memory" dialog's reading of one field on OK: a field that is not a number, or whose
// number is not a usable budget, keeps the remembered (previously shown) value.
std::int32_t ReadNumericBudgetField(std::string_view text, std::int32_t remembered);
std::int32_t ReadTextBudgetField(std::string_view text, std::int32_t remembered);

}  // namespace sx
