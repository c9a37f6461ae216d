#include "app/error_reporter.h"

#include "platform/failure.h"

namespace mirudana {

std::string errorDetailText(std::int16_t number, const std::string& location,
                            const std::string& description) {
    return "・エラー番号：" + std::to_string(number) + "\r\n・エラー内容：" +
           (description.empty() ? failureDescription(number) : description) + "\r\n・発生箇所：" +
           location;
}

std::string errorMessageText(std::int16_t number, const std::string& location,
                             const std::string& description) {
    return "以下のエラーが発生しました。\r\n" + errorDetailText(number, location, description) +
           "\r\nこのエラーが同じ所で何度も起こる場合は作者に連絡してください。"
           "エラーの内容をクリップボードにコピーしますか？";
}

void ReportError(UserInterface& ui, std::int16_t number, const std::string& location,
                 const std::string& description) {
    if (ui.askYesNo(errorMessageText(number, location, description), "エラー")) {
        ui.copyToClipboard(errorDetailText(number, location, description));
    }
    if (number == failure::kComponentMissing) ui.endTool();
}

void reportCurrentException(UserInterface& ui, const std::string& location) {
    std::int16_t number = failure::kInternalError;
    std::string description;
    try {
        throw;
    } catch (const Failure& f) {
        number = f.number();
        description = f.what();
    } catch (const std::exception& e) {
        number = failureNumberOf(e);
    } catch (...) {
    }
    ReportError(ui, number, location, description);
}

}  // namespace mirudana
