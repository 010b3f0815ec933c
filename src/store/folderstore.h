#pragma once

#include "store/store.h"

#include <memory>

// The folder store: the record files, photo files and documents in the program folder
// (ProgramFolder::path(), read at each action, so tests may point it elsewhere).
namespace Store {

class FolderBackend final : public Backend
{
public:
    FolderBackend();
    ~FolderBackend() override;

    bool shared() const override { return false; }
    QString description() const override;
    QString failureText() const override { return {}; }
    std::unique_ptr<Cards> cards() override;
    PriceLists &priceLists() override;
    Documents &documents() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Store
