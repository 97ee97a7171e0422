// The compound-file side of an inventory report: the root storage, its
// elements and the property sets the report keeps its values in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "storage/Orvex_SS.h"

namespace orvex {

// The root of FileName for writing: an existing compound file is opened in
// place (its other elements stay), any other file, or none, is replaced by a
// new compound file. Raises on failure. Before the platform opens an
// existing compound file it must pass the structure check
// (IsSoundCompoundFile; STG_E_DOCFILECORRUPT otherwise) and be at most
// 256 MB (STG_E_DOCFILETOOLARGE).
std::unique_ptr<TStructuredSTorage> OpenReportForWriting(const std::string& fileName);

// The root of FileName for reading; none when FileName is missing or not a
// compound file. Raises when the file cannot be examined (held open without
// sharing, access denied), or is a compound file that cannot be opened, is
// too large or fails the structure check, as for writing. The root reads
// the bytes that passed the check, from memory; the file stays open for
// reading, as a storage, until the root is destroyed.
std::unique_ptr<TStructuredSTorage> OpenReportForReading(const std::string& fileName);
// How many times this process has opened a report for reading (each time
// reads the whole file): the readers' own count of their work.
std::uint64_t ReportReadsSoFar() noexcept;

// The sub-storage Name of Parent, opened for reading; none when Parent holds
// no sub-storage of that name. Other failures (a damaged file) raise.
std::unique_ptr<TStructuredSTorage> OpenExistingSubStorage(TStructuredSTorage& parent, std::string_view name);

// The property set FMTID of Storage for reading; none when Storage has no
// such set. A set whose stream is not sound (IsSoundPropertySetStream) raises
// STG_E_DOCFILECORRUPT before the platform parses it; a failure of the
// platform's open raises with its code.
std::unique_ptr<TStoragePropertySet> OpenReportSetForReading(TStructuredSTorage& storage, REFFMTID fmtid);

// The property set FMTID of Storage for writing: the existing set, checked
// as for reading, or a new set in the system ANSI code page.
std::unique_ptr<TStoragePropertySet> OpenReportSetForWriting(TStructuredSTorage& storage, REFFMTID fmtid);

}  // namespace orvex
