// Records of rules from an evaluation or from a JSON report.
#include "cli/HostRecord.h"

#include "eval/DocumentReader.h"
#include "eval/MessageText.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <sys/stat.h>

namespace corehost {

namespace {

using Json = nlohmann::json;

std::string textOf(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// A scalar or a list of texts quoted as the text report quotes them; empty
// when `value` is neither.
std::string quoted(const Json& value) {
    if (value.is_string())
        return quoteText(value.get<std::string>());
    if (!value.is_array())
        return std::string();
    std::vector<std::string> items;
    for (const Json& item : value)
        items.push_back(item.is_string() ? item.get<std::string>() : item.dump());
    return quoteList(items);
}

RuleRecord recordOf(const Json& line) {
    RuleRecord rule;
    rule.id = line.contains("id") && line["id"].is_string() ? line["id"].get<std::string>()
                                                            : textOf(line, "document");
    rule.title = textOf(line, "title");
    rule.description = textOf(line, "description");
    rule.severity = textOf(line, "severity");
    const auto tags = line.find("tags");
    rule.section =
        tags != line.end() && tags->is_array() && !tags->empty() && tags->front().is_string()
            ? tags->front().get<std::string>()
            : std::string(kNoSection);
    const auto code = line.find("code");
    const bool erred = code != line.end() && code->is_number() && code->get<double>() != 0;
    rule.status = textOf(line, "status");
    if (rule.status.empty())
        rule.status = erred ? "error" : "none";
    if (line.contains("expected"))
        rule.expected = quoted(line["expected"]);
    if (line.contains("result"))
        rule.actual = quoted(line["result"]);
    rule.reason = textOf(line, "reason");
    if (rule.reason.empty() && erred) {
        const std::string expression = textOf(line, "expression");
        const std::string node = textOf(line, "node");
        rule.reason = (expression.empty() ? std::string("the tree") : expression) +
                      (node.empty() ? "" : " at " + node) + " failed with " + code->dump() + " (" +
                      textOf(line, "error") + ")";
    } else if (rule.reason.empty() && rule.status == "fail") {
        rule.reason = "expected " + rule.expected + ", got " + rule.actual;
    } else if (rule.reason.empty()) {
        rule.reason = textOf(line, "skipped");
    }
    const auto explanation = line.find("explanation");
    if (explanation != line.end() && explanation->is_array())
        for (const Json& text : *explanation)
            if (text.is_string())
                rule.explanation.push_back(text.get<std::string>());
    return rule;
}

void readRun(const Json& run, RunInfo& info) {
    if (!run.is_object())
        return;
    info.host = textOf(run, "host");
    info.started = textOf(run, "started");
    info.corehostVersion = textOf(run, "corehost");
    const auto plugins = run.find("plugins");
    if (plugins != run.end() && plugins->is_array())
        for (const Json& plugin : *plugins)
            if (plugin.is_object())
                info.plugins.emplace_back(textOf(plugin, "name"), textOf(plugin, "version"));
    const auto documents = run.find("documents");
    if (documents != run.end() && documents->is_array())
        for (const Json& document : *documents)
            if (document.is_string())
                info.documents.push_back(document.get<std::string>());
}

} // namespace

RuleStatus statusFromName(const std::string& name) {
    for (const RuleStatus status :
         {RuleStatus::Pass, RuleStatus::Fail, RuleStatus::Error, RuleStatus::Skipped})
        if (name == statusName(status))
            return status;
    return RuleStatus::None;
}

RuleRecord recordOf(const RuleReport& report) {
    const Rule& rule = *report.rule;
    RuleRecord record;
    record.id = report.name;
    record.title = rule.title;
    record.description = rule.description;
    record.severity = rule.severity;
    record.section = sectionOf(rule);
    record.status = statusName(report.status);
    if (rule.expect)
        record.expected = describeExpected(*rule.expect);
    if (report.code == 0 && report.status != RuleStatus::Skipped)
        record.actual = describeResult(report);
    if (report.status == RuleStatus::Fail || report.status == RuleStatus::Error)
        record.reason = describeProblem(report);
    else if (report.status == RuleStatus::Skipped)
        record.reason = describeSkip(report, 200);
    record.explanation = report.explanation;
    return record;
}

void addRule(HostRecord& host, RuleRecord rule) {
    const RuleStatus status = statusFromName(rule.status);
    host.counts.add(status);
    ++host.counts.rules;
    host.counts.bySection[rule.section].add(status);
    host.counts.bySeverity[rule.severity.empty() ? std::string(kNoSeverity) : rule.severity].add(
        status);
    host.rules.push_back(std::move(rule));
}

bool readHostRecord(const std::string& text, const std::string& fallbackHost, HostRecord& host,
                    std::string& error) {
    std::istringstream lines(text);
    std::string line;
    bool summary = false;
    for (std::size_t number = 1; std::getline(lines, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const Json object = Json::parse(line, nullptr, false);
        if (!object.is_object()) {
            error = "line " + std::to_string(number) + " is not a JSON object";
            return false;
        }
        if (object.contains("summary")) {
            summary = true;
            if (object.contains("run"))
                readRun(object["run"], host.run);
            if (object.contains("error"))
                host.error = textOf(object, "error");
            continue;
        }
        addRule(host, recordOf(object));
    }
    if (!summary && host.rules.empty()) {
        error = "no rule and no summary: not a corehost JSON report";
        return false;
    }
    if (host.run.host.empty())
        host.run.host = fallbackHost;
    return true;
}

bool readHostRecordFile(const std::string& path, HostRecord& host, std::string& error) {
    // A report is a file: a FIFO or a device could block the run or never end.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        error = "not a regular file";
        return false;
    }
    std::string text;
    if (!DocumentReader::readSource(path, text, error))
        return false;
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (name == "report.json") {
        const std::size_t end = path.find_last_of('/');
        const std::string folder = end == std::string::npos ? "." : path.substr(0, end);
        name = folder.substr(folder.find_last_of('/') + 1);
    } else if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0) {
        name.resize(name.size() - 5);
    }
    host.source = path;
    return readHostRecord(text, name, host, error);
}

} // namespace corehost
