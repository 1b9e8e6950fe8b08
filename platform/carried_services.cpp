#include "platform/carried_services.h"

#include <utility>

#include "platform/long_paths.h"

namespace lumarel {

namespace {

std::wstring DriveName(wchar_t letter) {
    return DeviceOf(std::wstring{letter, L':'});
}

// A call that answers with an OsResult alone.
template <typename Call>
OsResult CarryResult(CallCarrier& carrier, const std::wstring& device, Call call) {
    auto carried = carrier.Carry(device, std::move(call));
    return carried.answer ? std::move(*carried.answer) : UnansweredCall(carried.end);
}

// A call that fills a value of its own, taken only when the call succeeded.
template <typename Value, typename Call>
OsResult CarryInto(CallCarrier& carrier, const std::wstring& device, Value& value, Call call) {
    auto carried = carrier.Carry(device, [call = std::move(call)]() mutable {
        Value filled{};
        OsResult result = call(filled);
        return std::pair<OsResult, Value>{std::move(result), std::move(filled)};
    });
    if (!carried.answer) {
        return UnansweredCall(carried.end);
    }
    if (carried.answer->first.ok) {
        value = std::move(carried.answer->second);
    }
    return std::move(carried.answer->first);
}

}  // namespace

OsResult UnansweredCall(CallEnd end) {
    switch (end) {
        case CallEnd::Answered:
            return OsResult::Success();
        case CallEnd::GivenUp:
            return OsResult::Failure(OsResult::kGivenUp,
                                     L"You stopped waiting for the drive to answer.");
        case CallEnd::NotAnswering:
            return OsResult::Failure(121,  // ERROR_SEM_TIMEOUT, as Windows says of a lost share
                                     L"The drive is not answering: what Lumarel asked of it "
                                     L"before is still waiting.");
        case CallEnd::Busy:
            return OsResult::Failure(170,  // ERROR_BUSY
                                     L"Lumarel was still waiting for another drive to answer.");
    }
    return OsResult::Failure(OsResult::kGivenUp, L"");
}

OsResult CarriedFileSystem::List(const std::wstring& directory, DirectoryListing& listing) {
    return CarryInto(carrier_, DeviceOf(directory), listing,
                     [&inner = inner_, directory](DirectoryListing& filled) {
                         return inner.List(directory, filled);
                     });
}

OsResult CarriedFileSystem::Drives(std::vector<DriveInfo>& drives) {
    return CarryInto(
        carrier_, kDriveTable, drives,
        [&inner = inner_](std::vector<DriveInfo>& filled) { return inner.Drives(filled); });
}

std::wstring CarriedFileSystem::VolumeLabel(wchar_t letter) {
    auto carried = carrier_.Carry(DriveName(letter),
                                  [&inner = inner_, letter] { return inner.VolumeLabel(letter); });
    return carried.answer.value_or(std::wstring());
}

bool CarriedFileSystem::DriveIsPresent(wchar_t letter) {
    auto carried = carrier_.Carry(
        DriveName(letter), [&inner = inner_, letter] { return inner.DriveIsPresent(letter); });
    return carried.answer.value_or(true);
}

OsResult CarriedFileSystem::FileSize(const std::wstring& path, std::uint64_t& size) {
    return CarryInto(
        carrier_, DeviceOf(path), size,
        [&inner = inner_, path](std::uint64_t& filled) { return inner.FileSize(path, filled); });
}

OsResult CarriedTextFiles::AppendLine(const std::wstring& path, const std::wstring& line) {
    return CarryResult(carrier_, DeviceOf(path),
                       [&inner = inner_, path, line] { return inner.AppendLine(path, line); });
}

OsResult CarriedTextFiles::EnsureExists(const std::wstring& path) {
    return CarryResult(carrier_, DeviceOf(path),
                       [&inner = inner_, path] { return inner.EnsureExists(path); });
}

OsResult CarriedTextFiles::ReadAll(const std::wstring& path, std::size_t largest,
                                   std::wstring& text) {
    return CarryInto(carrier_, DeviceOf(path), text,
                     [&inner = inner_, path, largest](std::wstring& filled) {
                         return inner.ReadAll(path, largest, filled);
                     });
}

OsResult CarriedTextFiles::Look(const std::wstring& path, FileFacts& facts) {
    return CarryInto(carrier_, DeviceOf(path), facts, [&inner = inner_, path](FileFacts& filled) {
        return inner.Look(path, filled);
    });
}

OsResult CarriedTextFiles::WriteWhole(const std::wstring& path, const std::wstring& text) {
    return CarryResult(carrier_, DeviceOf(path),
                       [&inner = inner_, path, text] { return inner.WriteWhole(path, text); });
}

OsResult CarriedTextFiles::Replace(const std::wstring& path, const std::wstring& replacement) {
    return CarryResult(carrier_, DeviceOf(path), [&inner = inner_, path, replacement] {
        return inner.Replace(path, replacement);
    });
}

OsResult CarriedTextFiles::Rename(const std::wstring& from, const std::wstring& to) {
    return CarryResult(carrier_, DeviceOf(from),
                       [&inner = inner_, from, to] { return inner.Rename(from, to); });
}

OsResult CarriedTextFiles::Remove(const std::wstring& path) {
    return CarryResult(carrier_, DeviceOf(path),
                       [&inner = inner_, path] { return inner.Remove(path); });
}

std::wstring CarriedShortPaths::ShortPath(const std::wstring& path) {
    auto carried =
        carrier_.Carry(DeviceOf(path), [&inner = inner_, path] { return inner.ShortPath(path); });
    return carried.answer.value_or(std::wstring());
}

OsResult CarriedProcessStarter::Start(const std::wstring& program, const std::wstring& commandLine,
                                      WindowShow show) {
    return CarryResult(carrier_, DeviceOf(program), [&inner = inner_, program, commandLine, show] {
        return inner.Start(program, commandLine, show);
    });
}

}  // namespace lumarel
