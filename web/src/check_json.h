#pragma once

#include <string>

#include "answer.h"
#include "maze/maze_check.h"

// What `mazetool check` says of maze file bytes, as the page reads it:
// {"playable": bool, "blocking": how many of the first findings make it
// unplayable, "summary": "...", "findings": ["...", ...]}, and with
// `places` also "places": [[column, row] per finding, -1 -1 for no cell].
inline std::string checkJson(const std::string& bytes, bool places)
{
    const CheckReport report = checkMazeBytes(bytes);
    std::string json = std::string("{\"playable\":") + (report.playable ? "true" : "false") +
                       ",\"blocking\":" + std::to_string(report.blocking) +
                       ",\"summary\":" + jsonString(checkSummary(report)) + ",\"findings\":[";
    for (size_t i = 0; i < report.findings.size(); ++i)
        json += (i ? "," : "") + jsonString(report.findings[i]);
    json += "]";
    if (places) {
        json += ",\"places\":[";
        for (size_t i = 0; i < report.places.size(); ++i)
            json += std::string(i ? "," : "") + "[" + std::to_string(report.places[i].column) + "," +
                    std::to_string(report.places[i].row) + "]";
        json += "]";
    }
    return json + "}";
}
