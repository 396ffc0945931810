#include "ExportArguments.h"

#include "export/ExportFileTypes.h"

#include <algorithm>
#include <map>

namespace {

// The format that an output name's extension asks for; txt when it names none we know.
std::string formatOfName(const std::string& output) {
    const std::size_t dot = output.rfind('.');
    if (output == "-" || dot == std::string::npos)
        return "txt";
    std::string extension = output.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return exportFileTypeNamed(extension) ? extension : "txt";
}

bool isDate(const std::string& text) {
    return text.size() == 10 && text[4] == '-' && text[7] == '-' &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

} // namespace

std::string exportUsage() {
    return "usage: stockquery-export stock [CRITERIA] [OUTPUT]\n"
           "       stockquery-export journal --from yyyy-mm-dd --to yyyy-mm-dd [CRITERIA]\n"
           "                         [--flag 收|发] [--source S] [--order T] [--docno T] [OUTPUT]\n"
           "       stockquery-export --list-warehouses\n"
           "       stockquery-export --help\n"
           "CRITERIA: [--warehouse CODE]... [--code T] [--addcode T] [--spec T] [--name T]\n"
           "OUTPUT:   [--output FILE|-] [--format xls|rtf|html|txt|csv|xlsx|csv-utf8]\n"
           "          [--sort FIELD [asc|desc]]\n"
           "CONNECTION (default: the stored settings): [--server S] [--database D] [--user U];\n"
           "          the password from STOCKQUERY_PASSWORD, else asked for without echo.\n"
           "Exit status: 0 done, 2 bad arguments, 3 no connection, 4 the query failed,\n"
           "          5 the file could not be written, 130 interrupted.\n";
}

ExportRequest parseExportArguments(const std::vector<std::string>& arguments) {
    ExportRequest request;
    if (arguments.empty())
        throw ArgumentError("nothing to do: give stock, journal or --list-warehouses");
    const std::string& command = arguments.front();
    if (command == "--help" || command == "-h")
        return request;
    if (command == "--list-warehouses")
        request.action = ExportRequest::Action::ListWarehouses;
    else if (command == "stock")
        request.action = ExportRequest::Action::Stock;
    else if (command == "journal")
        request.action = ExportRequest::Action::Journal;
    else
        throw ArgumentError("unknown command: " + command);
    const bool journal = request.action == ExportRequest::Action::Journal;
    const bool query = request.action != ExportRequest::Action::ListWarehouses;

    // Options that take a value, and where the value goes.
    std::map<std::string, std::string*> text = {
        {"--server", nullptr}, {"--database", nullptr}, {"--user", nullptr}};
    if (query) {
        CurrentStockCriteria& stock = request.stock;
        JournalCriteria& j = request.journal;
        text.insert({{"--code", journal ? &j.itemCode : &stock.itemCode},
                     {"--addcode", journal ? &j.addCode : &stock.addCode},
                     {"--spec", journal ? &j.spec : &stock.spec},
                     {"--name", journal ? &j.name : &stock.name},
                     {"--format", &request.format},
                     {"--output", &request.output}});
        if (journal)
            text.insert({{"--from", &j.dateFrom},
                         {"--to", &j.dateTo},
                         {"--flag", &j.flag},
                         {"--source", &j.source},
                         {"--order", &j.productionOrder},
                         {"--docno", &j.documentNumber}});
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto needsValue = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw ArgumentError(option + " needs a value");
            return arguments[++i];
        };
        if (query && option == "--warehouse") {
            (journal ? request.journal.warehouseCodes : request.stock.warehouseCodes)
                .push_back(needsValue());
        } else if (query && option == "--sort") {
            request.sortField = needsValue();
            if (i + 1 < arguments.size() &&
                (arguments[i + 1] == "asc" || arguments[i + 1] == "desc"))
                request.sortDescending = arguments[++i] == "desc";
        } else if (const auto found = text.find(option); found != text.end()) {
            const std::string& value = needsValue();
            if (option == "--server")
                request.server = value;
            else if (option == "--database")
                request.database = value;
            else if (option == "--user")
                request.user = value;
            else
                *found->second = value;
        } else {
            throw ArgumentError("unknown option for " + command + ": " + option);
        }
    }
    if (journal) {
        if (!isDate(request.journal.dateFrom) || !isDate(request.journal.dateTo))
            throw ArgumentError("journal needs --from and --to as yyyy-mm-dd");
        const std::string& flag = request.journal.flag;
        if (!flag.empty() && flag != "收" && flag != "发")
            throw ArgumentError("--flag is 收 or 发");
    }
    if (query) {
        if (request.output.empty())
            request.output.push_back('-'); // standard output
        if (request.format.empty())
            request.format = formatOfName(request.output);
        if (!exportFileTypeNamed(request.format))
            throw ArgumentError("unknown format: " + request.format);
    }
    return request;
}
