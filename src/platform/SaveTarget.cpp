#include "SaveTarget.h"

#include "FileCalls.h"

#include <cerrno>
#include <cstring>

SaveTarget::SaveTarget(const std::string& path, const std::function<bool()>& cancelled,
                       Purpose purpose)
    : purpose_(purpose) {
    files::reportWriteFailures();
    const files::Target target = files::resolve(path);
    target_ = target.path;
    switch (target.kind) {
    case files::Target::Kind::Folder:
        throw files::SaveError(std::strerror(EISDIR));
    case files::Target::Kind::Stream:
        file_ = files::openStream(target_, cancelled);
        ownsFile_ = true;
        break;
    case files::Target::Kind::Regular:
        if (target.readOnly)
            throw files::ReadOnlyError(path + " is read-only");
        [[fallthrough]];
    case files::Target::Kind::Missing:
        removeLeftoverPartialFiles(files::folderOf(target_));
        partial_ = std::make_unique<PartialFile>(files::folderOf(target_), files::nameOf(target_));
        file_ = partial_->descriptor();
        if (target.kind == files::Target::Kind::Regular)
            files::takeOverAttributes(file_, target_);
        break;
    }
}

SaveTarget::SaveTarget() : file_(1) {
    files::reportWriteFailures();
}

SaveTarget::~SaveTarget() {
    if (ownsFile_ && file_ >= 0) {
        try {
            files::close(file_);
        } catch (const files::SaveError&) {
            // a failure was reported or the document is dropped
        }
    }
}

void SaveTarget::write(const char* bytes, std::size_t size) {
    files::writeAll(file_, bytes, size);
}

bool SaveTarget::commit(const std::function<bool()>& cancelled) {
    if (!partial_) {
        if (ownsFile_) {
            ownsFile_ = false;
            files::close(file_); // a device reports some failures only here
        }
        return !cancelled();
    }
    files::sync(file_);
    partial_->close();
    if (cancelled())
        return false;
    partial_->replace(target_, purpose_ == Purpose::document);
    return true;
}

std::string SaveTarget::scratchFolder() const {
    return partial_ ? files::folderOf(target_) : files::temporaryFolder();
}
