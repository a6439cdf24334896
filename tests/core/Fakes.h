#pragma once
// Test doubles of the core's outside world: an in-memory file system, an imaging component
// whose every operation can be made to fail, and a window that records what the scan does.
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "ImageScan.h"
#include "ImagingControl.h"
#include "RegionalSettings.h"
#include "ResultGrid.h"
#include "ScanWindow.h"

namespace folio::testing {

// One trail of calls across the fakes, so that tests see the order of window and imaging calls.
using EventLog = std::vector<std::string>;

class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(char separator = '\\') : separator_(separator) {}

    std::map<std::string, std::vector<ListedFile>> folders;
    std::map<std::string, std::string> driveFolders; // drive -> its current folder
    std::map<std::string, std::string> files;        // path -> content
    std::set<std::string> unopenable;
    int writesBeforeFailure = -1; // -1: writes never fail
    bool closeFails = false;
    std::vector<std::string> listedFolders;

    char PathSeparator() const override { return separator_; }

    bool ListFiles(const std::string& folder,
                   const std::function<void(const ListedFile&)>& onFile) override
    {
        listedFolders.push_back(folder);
        const auto found = folders.find(folder);
        if (found == folders.end())
            return false;
        for (const ListedFile& file : found->second)
            onFile(file);
        return true;
    }

    bool IsFolder(const std::string& path) override { return folders.contains(path); }

    std::optional<std::string> CurrentFolderOfDrive(const std::string& drive) override
    {
        const auto found = driveFolders.find(drive);
        return found == driveFolders.end() ? std::nullopt : std::optional(found->second);
    }

    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) override
    {
        if (path.empty() || unopenable.contains(path))
            throw FileError(path, "cannot open");
        files[path];
        return std::make_unique<File>(*this, path);
    }

    void RemoveFile(const std::string& path) override
    {
        if (files.erase(path) == 0)
            throw FileError(path, "no such file");
    }

private:
    class File final : public AppendFile {
    public:
        File(FakeFileSystem& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        void Write(std::string_view bytes) override
        {
            if (owner_.writesBeforeFailure == 0)
                throw FileError(path_, "disk full");
            if (owner_.writesBeforeFailure > 0)
                --owner_.writesBeforeFailure;
            owner_.files[path_] += bytes;
        }
        void Close() override
        {
            if (owner_.closeFails)
                throw FileError(path_, "cannot flush");
        }

    private:
        FakeFileSystem& owner_;
        std::string path_;
    };

    char separator_;
};

enum class Op { Release, SetName, GetName, Width, Height, XRes, YRes, FileType, Bits, Samples, Tag };

// What the fake reports for one loaded file: a missing value reads as "not a number".
struct FakeImage {
    std::optional<double> width = 640, height = 480, xResolution = 72, yResolution = 72;
    std::optional<double> fileType = 0x60000, bits = 8, samples = 3, compression = 1;
    std::set<Op> throwing;
};

class FakeImaging final : public ImagingControl {
public:
    explicit FakeImaging(EventLog& log) : log_(log) {}

    std::map<std::string, FakeImage> images; // by the path as the scan sets it
    std::set<Op> alwaysThrowing;

    void ReleaseImage() override
    {
        log_.push_back("Release");
        Check(Op::Release);
        loaded_ = nullptr;
    }
    void SetImageFileName(const std::string& path) override
    {
        log_.push_back("Set " + path);
        Check(Op::SetName);
        const auto found = images.find(path);
        loaded_ = found == images.end() ? nullptr : &found->second;
        name_ = loaded_ ? path : "";
    }
    std::string ImageFileName() const override
    {
        Check(Op::GetName);
        return name_;
    }
    std::optional<double> ImageWidth() const override { return Read(Op::Width, &FakeImage::width); }
    std::optional<double> ImageHeight() const override { return Read(Op::Height, &FakeImage::height); }
    std::optional<double> XResolution() const override { return Read(Op::XRes, &FakeImage::xResolution); }
    std::optional<double> YResolution() const override { return Read(Op::YRes, &FakeImage::yResolution); }
    std::optional<double> FileTypeCode() const override { return Read(Op::FileType, &FakeImage::fileType); }
    std::optional<double> BitsPerSample() const override { return Read(Op::Bits, &FakeImage::bits); }
    std::optional<double> SamplesPerPixel() const override { return Read(Op::Samples, &FakeImage::samples); }
    std::optional<double> TagValue(std::int32_t tagNumber, std::int16_t valueIndex) const override
    {
        if (tagNumber != 259 || valueIndex != 1)
            return std::nullopt;
        return Read(Op::Tag, &FakeImage::compression);
    }

    bool Loaded() const { return loaded_ != nullptr; }

private:
    void Check(Op op) const
    {
        if (alwaysThrowing.contains(op) || (loaded_ && loaded_->throwing.contains(op)))
            throw std::runtime_error("imaging failure");
    }
    std::optional<double> Read(Op op, std::optional<double> FakeImage::*field) const
    {
        if (!loaded_)
            throw std::runtime_error("no image loaded");
        Check(op);
        return loaded_->*field;
    }

    EventLog& log_;
    FakeImage* loaded_ = nullptr;
    std::string name_;
};

class RecordingWindow final : public ScanWindow {
public:
    explicit RecordingWindow(EventLog& log) : log_(log) {}
    void BeginScan() override { log_.push_back("BeginScan"); }
    void ShowFileName(const std::string& name) override { log_.push_back("Show " + name); }
    void ProcessPendingMessages() override { log_.push_back("Messages"); }
    void EndScan() override { log_.push_back("EndScan"); }

private:
    EventLog& log_;
};

// A scanner wired to the fakes, for tests that run whole scans.
struct ScanHarness {
    EventLog log;
    FakeFileSystem fileSystem;
    FakeImaging imaging{log};
    RecordingWindow window{log};
    ResultGrid grid;
    RegionalSettings settings;
    ImageScanner scanner{fileSystem, imaging, window, grid, settings};
};

} // namespace folio::testing
