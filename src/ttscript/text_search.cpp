#include "ttscript/text_search.h"

namespace ttscript {

bool SplitItems::next(std::string_view& item) {
    if (done_) return false;
    std::size_t at =
        separator_.empty() ? std::string_view::npos : findText(text_, separator_, from_);
    if (at == std::string_view::npos) {
        item = text_.substr(from_);
        done_ = true;
    } else {
        item = text_.substr(from_, at - from_);
        from_ = at + separator_.size();
    }
    return true;
}

}  // namespace ttscript
