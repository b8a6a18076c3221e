// The file of a document: SAVEAS gives the document the path it saved to, and QSAVE saves there.
#include "acapdoc.h"
#include "dbhost.h"
#include "edhost.h"

namespace khost {

void setDocumentPath(AcApDocument* doc, const std::wstring& path) {
    if (!doc || path.empty())
        return;
    doc->m_path = path;
    size_t slash = path.find_last_of(L"/\\");
    doc->m_title = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (doc->database())
        setDatabaseFilename(doc->database(), path);
}

} // namespace khost
