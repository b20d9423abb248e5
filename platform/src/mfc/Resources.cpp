// Resource tables of the process: strings and dialog templates by id.
#include "mfc/Resources.h"

#include <map>
#include <mutex>
#include <string>

namespace {

struct Tables {
    std::mutex lock;
    std::map<UINT, std::string> strings;
    std::map<UINT, AfxDialogTemplate> dialogs;
};

Tables& TheTables() {
    static Tables* tables = new Tables;  // outlives every static object that may look a resource up
    return *tables;
}

}  // namespace

void AfxRegisterStringResource(UINT id, LPCSTR text) {
    Tables& t = TheTables();
    std::lock_guard<std::mutex> guard(t.lock);
    t.strings[id] = text ? text : "";
}

LPCSTR AfxFindStringResource(UINT id) {
    Tables& t = TheTables();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.strings.find(id);
    return it == t.strings.end() ? nullptr : it->second.c_str();
}

void AfxRegisterDialogTemplate(const AfxDialogTemplate& dialogTemplate) {
    Tables& t = TheTables();
    std::lock_guard<std::mutex> guard(t.lock);
    t.dialogs[dialogTemplate.id] = dialogTemplate;
}

const AfxDialogTemplate* AfxFindDialogTemplate(UINT id) {
    Tables& t = TheTables();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.dialogs.find(id);
    return it == t.dialogs.end() ? nullptr : &it->second;
}

AfxResourceRegistrar::AfxResourceRegistrar(std::vector<AfxDialogTemplate> dialogs,
                                           std::vector<AfxStringResource> strings) {
    for (const AfxDialogTemplate& d : dialogs) AfxRegisterDialogTemplate(d);
    for (const AfxStringResource& s : strings) AfxRegisterStringResource(s.id, s.text);
}
