#pragma once

#include <optional>
#include <string>
#include <vector>

// What the stock card (库存台账) is asked: one item in one warehouse, or one batch of it, over a
// period; dates as "yyyy-mm-dd", the first not after the second.
struct StockCardCriteria {
    std::string warehouseCode;
    std::string itemCode;
    std::optional<std::string> batch; // none: every batch of the item
    std::string dateFrom;
    std::string dateTo;
};

// One statement that the server works out alone: the opening balance (期初结存), every receipt
// and issue line of the period in booking order (document date, document number, line) with
// the balance after it (结存数量, a running sum), and the closing balance (期末结存). The opening
// is today's stock less what was booked from the period's first day on, so a card that ends today
// closes on the current stock.
std::vector<std::string> stockCardStatement(const StockCardCriteria& criteria);
