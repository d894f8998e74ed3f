#include "record/IperfRunner.h"

#include "formats/JsonReader.h"
#include "record/ProcessRunner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace tarvo {

namespace {

// Time for connecting and the report beyond the test itself.
constexpr int kIperfSlackMs = 20000;
constexpr int kVersionTimeoutMs = 5000;

// The member along a path of keys ("end", "sum", "bits_per_second").
const CJsonValue* At(const CJsonValue& value, std::initializer_list<const char*> path) {
    const CJsonValue* at = &value;
    for (const char* key : path)
        if (at = at->Find(key); !at)
            return nullptr;
    return at;
}

// A rate or a time: a finite number not below zero.
std::optional<double> NotNegative(const CJsonValue* value) {
    if (!value || !value->IsNumber() || !std::isfinite(value->number) || value->number < 0.0)
        return std::nullopt;
    return value->number;
}

std::string FirstLine(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = text.find_first_of("\r\n", start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::vector<std::string> ServerArgs(const std::string& server) {
    const std::size_t colon = server.find(':');
    if (colon != std::string::npos && colon > 0 &&
        server.find(':', colon + 1) == std::string::npos && colon + 1 < server.size() &&
        std::all_of(server.begin() + static_cast<long>(colon) + 1, server.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        return {"-c", server.substr(0, colon), "-p", server.substr(colon + 1)};
    return {"-c", server};
}

CIperfReading RunDirection(const CIperfOptions& options, bool download) {
    std::vector<std::string> argv = {options.program};
    for (std::string& arg : ServerArgs(options.server))
        argv.push_back(std::move(arg));
    argv.insert(argv.end(), {"-J", "-t", std::to_string(options.seconds)});
    if (download)
        argv.push_back("-R");
    const int timeoutMs = options.seconds * 1000 + kIperfSlackMs;
    const CProgramRun run = RunProgram(argv, timeoutMs);
    CIperfReading reading;
    if (!run.started) {
        reading.error = run.notFound ? IperfMissingText(options.program)
                                     : options.program + " cannot be started: " + run.startError;
        return reading;
    }
    if (run.timedOut || run.tooLong) {
        reading.error = options.program + ": " + ProgramFailureText(run, timeoutMs);
        return reading;
    }
    // The report says what went wrong even when iperf3 ends with an error
    // status; only without a report is the status itself the reason.
    reading = ReadIperfReport(run.out);
    if (!reading.error.empty() && !run.Succeeded() && run.out.find('{') == std::string::npos)
        reading.error = ProgramFailureText(run, timeoutMs);
    return reading;
}

} // namespace

std::string CThroughputResult::ErrorText() const {
    std::string text;
    if (!down.error.empty())
        text = "download: " + down.error;
    if (!up.error.empty())
        text += (text.empty() ? "" : "; ") + std::string("upload: ") + up.error;
    return text;
}

std::string IperfMissingText(const std::string& program) {
    return program + " is not installed (or not on the PATH): the throughput is not measured "
                     "(Debian package iperf3)";
}

std::string CheckIperf(const std::string& program) {
    const CProgramRun run = RunProgram({program, "--version"}, kVersionTimeoutMs);
    if (!run.started)
        return run.notFound ? IperfMissingText(program)
                            : program + " cannot be started: " + run.startError;
    return {};
}

CIperfReading ReadIperfReport(std::string_view text) {
    CIperfReading reading;
    const CJsonParse parse = ParseJson(text);
    const std::optional<CJsonValue>& report = parse.value;
    if (!report || !report->IsObject()) {
        const std::string line = FirstLine(text);
        reading.error =
            line.empty() ? "iperf3 printed no report" : "iperf3 printed no JSON report: " + line;
        return reading;
    }
    if (const CJsonValue* error = report->Find("error"); error && error->IsString()) {
        reading.error = error->text;
        return reading;
    }
    const CJsonValue* rate = At(*report, {"end", "sum_received", "bits_per_second"});
    if (!rate)
        rate = At(*report, {"end", "sum", "bits_per_second"});
    reading.bitsPerSecond = NotNegative(rate);
    reading.jitterMs = NotNegative(At(*report, {"end", "sum", "jitter_ms"}));
    if (!reading.bitsPerSecond)
        reading.error = "iperf3's report holds no throughput";
    return reading;
}

CThroughputResult MeasureThroughput(const CIperfOptions& options) {
    CThroughputResult result;
    result.down = RunDirection(options, true);
    result.up = RunDirection(options, false);
    return result;
}

} // namespace tarvo
