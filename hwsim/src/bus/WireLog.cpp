// What a simulated driver was asked, request by request.
#include "hwsim/bus/WireLog.h"

#include <cstdio>

namespace hwsim {

namespace {

const char* VerbName(WireRequest::Verb verb) {
    switch (verb) {
    case WireRequest::Verb::Get: return "Get";
    case WireRequest::Verb::Set: return "Set";
    case WireRequest::Verb::QuerySupported: return "QuerySupported";
    }
    return "?";
}

}  // namespace

std::string WireRequest::Text() const {
    char head[96];
    std::snprintf(head, sizeof(head), "%s %s.%u [%u/%u] ", VerbName(verb), setName.c_str(), static_cast<unsigned>(id),
                  static_cast<unsigned>(instanceLength), static_cast<unsigned>(dataLength));
    char tail[24];
    if (result == S_OK) {
        std::snprintf(tail, sizeof(tail), "-> S_OK");
    } else {
        std::snprintf(tail, sizeof(tail), "-> %08X", static_cast<unsigned>(result));
    }
    std::string text = head;
    if (!what.empty()) text += what + " ";
    return text + tail;
}

void WireLog::Append(WireRequest request) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_requests.push_back(std::move(request));
    if (m_requests.size() > kLimit) m_requests.pop_front();
}

std::vector<WireRequest> WireLog::Requests() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return std::vector<WireRequest>(m_requests.begin(), m_requests.end());
}

std::vector<std::string> WireLog::Lines() const {
    std::vector<std::string> lines;
    for (const WireRequest& request : Requests()) lines.push_back(request.Text());
    return lines;
}

std::string WireLog::Text() const {
    std::string text;
    for (const std::string& line : Lines()) text += line + "\n";
    return text;
}

size_t WireLog::Size() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_requests.size();
}

void WireLog::Clear() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_requests.clear();
}

}  // namespace hwsim
