#include "app/error_reporter.h"

#include "app/failure.h"

namespace mirudana {

std::string errorDetailText(std::int16_t number, const std::string& location) {
    return "・エラー番号：" + std::to_string(number) + "\r\n・エラー内容：" +
           failureDescription(number) + "\r\n・発生箇所：" + location;
}

std::string errorMessageText(std::int16_t number, const std::string& location) {
    return "以下のエラーが発生しました。\r\n" + errorDetailText(number, location) +
           "\r\nこのエラーが同じ所で何度も起こる場合は作者に連絡してください。"
           "エラーの内容をクリップボードにコピーしますか？";
}

void ReportError(UserInterface& ui, std::int16_t number, const std::string& location) {
    if (ui.askYesNo(errorMessageText(number, location), "エラー")) {
        ui.copyToClipboard(errorDetailText(number, location));
    }
    if (number == failure::kComponentMissing) ui.endTool();
}

void reportCurrentException(UserInterface& ui, const std::string& location) {
    std::int16_t number = failure::kInternalError;
    try {
        throw;
    } catch (const std::exception& e) {
        number = failureNumberOf(e);
    } catch (...) {
    }
    ReportError(ui, number, location);
}

}  // namespace mirudana
