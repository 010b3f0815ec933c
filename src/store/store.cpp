#include "store/store.h"

#include "store/folderstore.h"

namespace Store {

namespace {

std::unique_ptr<Backend> &slot()
{
    static std::unique_ptr<Backend> backend;
    return backend;
}

} // namespace

Backend &current()
{
    std::unique_ptr<Backend> &backend = slot();
    if (!backend)
        backend = std::make_unique<FolderBackend>();
    return *backend;
}

void setCurrent(std::unique_ptr<Backend> backend) { slot() = std::move(backend); }

QString failureText(const QString &screenText)
{
    const QString own = current().failureText();
    return own.isEmpty() ? screenText : own;
}

} // namespace Store
