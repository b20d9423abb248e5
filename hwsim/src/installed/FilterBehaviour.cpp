// What every filter of one installed class shares with the tests.
#include "hwsim/installed/FilterBehaviour.h"

#include "platform/winerror.h"

namespace hwsim {

std::vector<InterfaceCall> FilterBehaviour::Calls() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

std::vector<std::string> FilterBehaviour::Queries() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_queries;
}

void FilterBehaviour::NoteQuery(const std::string& iface) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_queries.push_back(iface);
}

void FilterBehaviour::ClearCalls() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
    m_queries.clear();
}

void FilterBehaviour::FailSlot(const std::string& iface, int slot, HRESULT hr, int times) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_failures[{iface, slot}] = Failure{hr, times};
}

void FilterBehaviour::FailParam(DWORD id, HRESULT hr, int times) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_paramFailures[id] = Failure{hr, times};
}

HRESULT FilterBehaviour::ParamFailure(DWORD id) {
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_paramFailures.find(id);
    if (it == m_paramFailures.end() || it->second.times == 0) return S_OK;
    if (it->second.times > 0) --it->second.times;
    return it->second.hr;
}

void FilterBehaviour::RefuseInterface(const std::string& iface, bool refuse) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (refuse)
        m_refused.insert(iface);
    else
        m_refused.erase(iface);
}

void FilterBehaviour::AnswerSFalse(const std::string& iface, bool on) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (on)
        m_sFalse.insert(iface);
    else
        m_sFalse.erase(iface);
}

void FilterBehaviour::SetParam(DWORD id, std::vector<BYTE> bytes) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_params[id] = std::move(bytes);
}

bool FilterBehaviour::GetParam(DWORD id, std::vector<BYTE>* bytes) const {
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_params.find(id);
    if (it == m_params.end()) return false;
    *bytes = it->second;
    return true;
}

HRESULT FilterBehaviour::Enter(const char* iface, int slot, std::vector<ULONGLONG> args,
                               std::vector<std::vector<BYTE>> records) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(InterfaceCall{iface, slot, std::move(args), std::move(records)});
    auto it = m_failures.find({iface, slot});
    if (it == m_failures.end() || it->second.times == 0) return S_OK;
    if (it->second.times > 0) --it->second.times;
    return it->second.hr;
}

bool FilterBehaviour::Refuses(const std::string& iface) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_refused.count(iface) != 0;
}

bool FilterBehaviour::AnswersSFalse(const std::string& iface) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_sFalse.count(iface) != 0;
}

}  // namespace hwsim
