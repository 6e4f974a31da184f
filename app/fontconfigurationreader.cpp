#include "fontconfigurationreader.h"

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <system_error>

FontConfigurationReader::FontConfigurationReader()
{
    // The application object sets the user's locale as it starts, and the reader parses decimal
    // numbers in the configuration by that locale. Setting it here first means the locale never
    // changes under the reader.
    std::setlocale(LC_ALL, "");
    try {
        m_reader = std::jthread([] { FcInit(); });
    } catch (const std::system_error &) {
        // Without a second thread the toolkit reads the configuration itself, as it always can.
    }
}

void FontConfigurationReader::wait()
{
    if (m_reader.joinable())
        m_reader.join();
}
