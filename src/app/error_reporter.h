// The one place where trapped runtime failures are shown to the user.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "app/user_interface.h"

namespace mirudana {

// The three detail lines (number, description, location), joined by CR LF. The
// description is the runtime's own text for `number` unless one is given.
std::string errorDetailText(std::int16_t number, const std::string& location,
                            const std::string& description = {});

// The whole text of the error box.
std::string errorMessageText(std::int16_t number, const std::string& location,
                             const std::string& description = {});

// Shows the error box; on Yes copies the detail lines to the clipboard. Failure 339
// ends the tool after the box, whatever the answer.
void ReportError(UserInterface& ui, std::int16_t number, const std::string& location,
                 const std::string& description = {});

// Reports the exception being handled (inside a catch block) with `location`; a
// file error keeps its own description (reading and writing say different things).
void reportCurrentException(UserInterface& ui, const std::string& location);

}  // namespace mirudana
