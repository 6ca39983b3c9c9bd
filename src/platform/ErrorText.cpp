// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorText.h"

namespace vibrona {

std::string withFinalPeriod(std::string message)
{
    // Compared as unsigned bytes: any UTF-8 sequence ends in a byte above 46.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        message.push_back('.');
    return message;
}

std::string applicationTitle(std::string_view executablePath)
{
    const std::size_t slash = executablePath.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::string title(name);
    for (std::size_t i = 1; i < title.size(); ++i)
        if (title[i] >= 'A' && title[i] <= 'Z')
            title[i] = char(title[i] - 'A' + 'a');
    return title;
}

} // namespace vibrona
