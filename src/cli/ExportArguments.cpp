#include "ExportArguments.h"

#include "export/ExportFileTypes.h"
#include "result/DateTime.h"
#include "result/TrimmedText.h"
#include "result/Utf16.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace {

// The format that an output name's extension asks for; none for an extension we do not know.
std::string formatOfName(const std::string& output) {
    if (output == "-")
        return "txt";
    const std::size_t dot = output.rfind('.');
    const std::size_t slash = output.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = output.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return exportFileTypeNamed(extension) ? extension : std::string();
}

// The extensions that name a format: the format names that are also extensions.
std::string knownExtensions() {
    std::string known;
    for (const ExportFileType& type : exportFileTypes())
        if (type.name.find('-') == std::string::npos)
            known += (known.empty() ? "." : ", .") + type.name;
    return known;
}

// A calendar day as yyyy-mm-dd within what SQL Server's datetime holds (1753 to 9999).
bool isDate(const std::string& text) {
    const std::optional<CivilDateTime> day = parseIsoDateTime(text);
    return text.size() == 10 && day && day->year >= 1753;
}

void checkDate(const std::string& command, const char* option, const std::string& text) {
    if (text.empty())
        throw ArgumentError(command + " needs " + option + " yyyy-mm-dd");
    if (!isDate(text))
        throw ArgumentError(std::string(option) + " " + text +
                            " is not a day as yyyy-mm-dd from 1753-01-01 to 9999-12-31");
}

// A whole number of seconds, 0 to a day.
int seconds(const std::string& option, const std::string& text) {
    constexpr int kDay = 24 * 60 * 60;
    const bool digits =
        !text.empty() && text.size() <= 5 &&
        std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
    if (!digits || std::stoi(text) > kDay)
        throw ArgumentError(option + " " + text + " is not a number of seconds from 0 to " +
                            std::to_string(kDay));
    return std::stoi(text);
}

} // namespace

std::string exportUsage() {
    return "usage: stockquery-export stock [CRITERIA] [OUTPUT]\n"
           "       stockquery-export journal --from yyyy-mm-dd --to yyyy-mm-dd [CRITERIA]\n"
           "                         [--flag 收|发] [--source S] [--order T] [--docno T] [OUTPUT]\n"
           "       stockquery-export summary --from yyyy-mm-dd --to yyyy-mm-dd [CRITERIA]\n"
           "                         [--by-batch] [OUTPUT]\n"
           "       stockquery-export card --code CODE --warehouse CODE [--batch B]\n"
           "                         --from yyyy-mm-dd --to yyyy-mm-dd [OUTPUT]\n"
           "       stockquery-export ageing [--as-of yyyy-mm-dd] [--bands 30,60,90,180,365]\n"
           "                         [CRITERIA] [--by-batch] [OUTPUT]\n"
           "       stockquery-export --list-warehouses\n"
           "       stockquery-export --test-connection   (the server's product and the driver)\n"
           "       stockquery-export --help\n"
           "CRITERIA: [--warehouse CODE]... [--code T] [--addcode T] [--spec T] [--name T]\n"
           "OUTPUT:   [--output FILE|-] [--format xls|rtf|html|txt|csv|xlsx|csv-utf8|pdf]\n"
           "          [--sort FIELD [asc|desc]]\n"
           "CONNECTION (default: the stored settings): [--server S] [--database D] [--user U];\n"
           "          the password from STOCKQUERY_PASSWORD, else asked for without echo;\n"
           "          [--encrypt optional|mandatory|strict] [--trust-server-certificate]\n"
           "          [--ca-file FILE] (the authority's certificate; default: the system's)\n"
           "          [--windows-auth] (the user's Windows login; elsewhere DOMAIN\\user);\n"
           "          [--login-timeout SECONDS] (15), [--timeout SECONDS] for the whole query\n"
           "          (0, the default: as long as it takes).\n"
           "Exit status: 0 done, 2 bad arguments, 3 no connection, 4 the query failed,\n"
           "          5 the file could not be written, 130 interrupted.\n";
}

ExportRequest parseExportArguments(const std::vector<std::string>& arguments) {
    ExportRequest request;
    if (arguments.empty())
        throw ArgumentError(
            "nothing to do: give stock, journal, summary, card, ageing, --list-warehouses or "
            "--test-connection");
    const std::string& command = arguments.front();
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
            return request;
    // Criteria, names and paths are read as UTF-8 (the system's encoding); other bytes would
    // silently become other characters.
    for (std::size_t i = 0; i < arguments.size(); ++i)
        if (!isValidUtf8(arguments[i]))
            throw ArgumentError("argument " + std::to_string(i + 1) + " is not UTF-8 text");
    if (command == "--list-warehouses")
        request.action = ExportRequest::Action::ListWarehouses;
    else if (command == "--test-connection")
        request.action = ExportRequest::Action::TestConnection;
    else if (command == "stock")
        request.action = ExportRequest::Action::Stock;
    else if (command == "journal")
        request.action = ExportRequest::Action::Journal;
    else if (command == "summary")
        request.action = ExportRequest::Action::Summary;
    else if (command == "card")
        request.action = ExportRequest::Action::Card;
    else if (command == "ageing")
        request.action = ExportRequest::Action::Ageing;
    else
        throw ArgumentError("unknown command: " + command);
    const bool journal = request.action == ExportRequest::Action::Journal;
    const bool summary = request.action == ExportRequest::Action::Summary;
    const bool card = request.action == ExportRequest::Action::Card;
    const bool ageing = request.action == ExportRequest::Action::Ageing;
    const bool query = request.action != ExportRequest::Action::ListWarehouses &&
                       request.action != ExportRequest::Action::TestConnection;
    // The period of a journal, a summary or a card.
    std::string* from = journal   ? &request.journal.dateFrom
                        : summary ? &request.summary.dateFrom
                        : card    ? &request.card.dateFrom
                                  : nullptr;
    std::string* to = journal   ? &request.journal.dateTo
                      : summary ? &request.summary.dateTo
                      : card    ? &request.card.dateTo
                                : nullptr;

    // Options that take a value, and where the value goes.
    std::map<std::string, std::string*> text = {{"--server", nullptr},
                                                {"--database", nullptr},
                                                {"--user", nullptr},
                                                {"--ca-file", nullptr}};
    // Where the item criteria of the request's query go.
    ItemCriteria& items = journal   ? static_cast<ItemCriteria&>(request.journal)
                          : summary ? static_cast<ItemCriteria&>(request.summary)
                          : ageing  ? static_cast<ItemCriteria&>(request.ageing)
                                    : request.stock;
    if (query)
        text.insert({{"--format", &request.format}, {"--output", &request.output}});
    if (query && !card)
        text.insert({{"--code", &items.itemCode},
                     {"--addcode", &items.addCode},
                     {"--spec", &items.spec},
                     {"--name", &items.name}});
    if (card)
        text.insert(
            {{"--code", &request.card.itemCode}, {"--warehouse", &request.card.warehouseCode}});
    if (journal) {
        JournalCriteria& j = request.journal;
        text.insert({{"--flag", &j.flag},
                     {"--source", &j.source},
                     {"--order", &j.productionOrder},
                     {"--docno", &j.documentNumber}});
    }
    if (from)
        text.insert({{"--from", from}, {"--to", to}});
    std::optional<std::string> bands;
    if (ageing)
        text.insert({"--as-of", &request.ageing.asOf});
    bool outputGiven = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto needsValue = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw ArgumentError(option + " needs a value");
            return arguments[++i];
        };
        if (query && !card && option == "--warehouse") {
            items.warehouseCodes.push_back(needsValue());
        } else if (card && option == "--batch") {
            request.card.batch = trimmedText(needsValue());
        } else if ((summary || ageing) && option == "--by-batch") {
            (summary ? request.summary.byBatch : request.ageing.byBatch) = true;
        } else if (ageing && option == "--bands") {
            bands = needsValue();
        } else if (query && option == "--sort") {
            request.sortField = needsValue();
            if (i + 1 < arguments.size() &&
                (arguments[i + 1] == "asc" || arguments[i + 1] == "desc"))
                request.sortDescending = arguments[++i] == "desc";
        } else if (option == "--encrypt") {
            request.encryption = encryptionFromWord(needsValue());
            if (!request.encryption)
                throw ArgumentError("--encrypt is optional, mandatory or strict");
        } else if (option == "--trust-server-certificate") {
            request.trustServerCertificate = true;
        } else if (option == "--windows-auth") {
            request.windowsLogin = true;
        } else if (option == "--timeout" || option == "--login-timeout") {
            (option == "--timeout" ? request.timeoutSeconds : request.loginTimeoutSeconds) =
                seconds(option, needsValue());
        } else if (const auto found = text.find(option); found != text.end()) {
            const std::string& value = needsValue();
            if (option == "--server")
                request.server = value;
            else if (option == "--database")
                request.database = value;
            else if (option == "--user")
                request.user = value;
            else if (option == "--ca-file")
                request.certificateAuthorityFile = value;
            else
                *found->second = value;
            outputGiven = outputGiven || option == "--output";
        } else {
            throw ArgumentError("unknown option for " + command + ": " + option);
        }
    }
    // Texts are trimmed as the windows trim what is typed into their boxes.
    for (std::string* criterion :
         {&items.itemCode, &items.addCode, &items.spec, &items.name, &request.journal.flag,
          &request.journal.source, &request.journal.productionOrder,
          &request.journal.documentNumber, &request.card.itemCode, &request.card.warehouseCode})
        *criterion = trimmedText(*criterion);
    if (card && request.card.itemCode.empty())
        throw ArgumentError("card needs --code CODE, the item's whole code");
    if (card && request.card.warehouseCode.empty())
        throw ArgumentError("card needs --warehouse CODE, one warehouse");
    if (from) {
        checkDate(command, "--from", *from);
        checkDate(command, "--to", *to);
        if (*from > *to)
            throw ArgumentError("--from " + *from + " is after --to " + *to);
    }
    if (ageing && !request.ageing.asOf.empty())
        checkDate(command, "--as-of", request.ageing.asOf);
    if (bands) {
        try {
            request.ageing.bands = parseAgeingBands(*bands);
        } catch (const AgeingBandsError& error) {
            throw ArgumentError(std::string("--bands ") + *bands + ": " + error.what());
        }
    }
    if (journal) {
        const std::string& flag = request.journal.flag;
        if (!flag.empty() && flag != "收" && flag != "发")
            throw ArgumentError("--flag is 收 or 发");
    }
    if (query) {
        if (outputGiven && request.output.empty())
            throw ArgumentError("--output needs a file name, or - for standard output");
        if (request.output.empty())
            request.output.push_back('-'); // standard output
        if (request.format.empty()) {
            request.format = formatOfName(request.output);
            if (request.format.empty())
                throw ArgumentError("cannot tell the format of " + request.output +
                                    ": give --format, or a name ending in " + knownExtensions());
        }
        if (!exportFileTypeNamed(request.format))
            throw ArgumentError("unknown format: " + request.format);
    }
    return request;
}
