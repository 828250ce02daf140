// Stands in for the template files while they are not part of the core yet, so the
// windows link; every operation reports that templates are unavailable.
#include "templates/template_files.h"

namespace pelto {

namespace {
Error Unavailable() {
    return MakeError("", 0, "Templates are not available in this build");
}
} // namespace

Result<std::vector<TemplateEntry>> ListTemplates(const Workspace&) {
    return std::vector<TemplateEntry>{};
}

Status SaveTemplate(Workspace&, const std::string&, const std::vector<std::string>&,
                    const std::vector<TemplateEntry>&,
                    const std::function<bool(const std::string&)>&, bool*) {
    return Unavailable();
}

Status LoadTemplate(Workspace&, const std::string&, const std::vector<TemplateEntry>&,
                    const std::function<void(int)>&) {
    return Unavailable();
}

} // namespace pelto
