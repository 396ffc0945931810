#include "ConnectionString.h"

std::string BuildConnectionString(const ConnectionSettings& settings) {
    return "Provider=sqloledb;uid=" + settings.user + ";database=" + settings.database +
           ";server=" + settings.server + ";pwd=" + settings.password;
}
