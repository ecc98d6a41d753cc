// The project's DAMOS-OSP object store: a text export of the data objects, one record
// per line (":OId=...:...:STYP=KTX:...=Kgs:Name=LABEL:...;"). Loading it checks every
// conservation slot's object and records its kind and defined length.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

class Session;

// Loads the object store session.state.OspName (LoadObjectStoreText with "Objektspeicher
// zur Analyse laden"), finds the records of all slots in one pass (FindObjectRecords) and,
// when a record of the run is wanted, fingerprints the store beside that pass (DigestBeside),
// then for slots 1..SpecCount in order sets Kind and Length and logs
// "Länge <label> = <n>" and "Typ <label> = <kind>". Ends the run through TerminateRun
// (style "BATCH" in BatchMode, 48 otherwise, title "Abbruch") for a label without a
// record or with a kind other than KTX, KWB, FKL; through ErrorEnd for a file that cannot
// be read and for a length attribute that is missing, unterminated, not a number or gives a
// length below 1 (":MaxAnz=1", ":Anz=0": an object holds at least one value). Slots
// before the failing one keep what was set.
void LoadObjectStore(Session& session);

// Logs `message` unless it is empty, then replaces session.state.ObjectStoreText with the
// bytes of `fileName`, mapped (MappedFile); the old text is dropped first. A file that
// cannot be read ends the run through ErrorEnd with a message naming the file.
void LoadObjectStoreText(Session& session, const std::string& fileName, const std::string& message);

// The record of `label` in `storeText`: the text from the start of the line holding the
// first "=Kgs:Name=" + label + ":" up to and including the next ";" when that line begins
// with ":OId"; otherwise the search goes on behind the key. Without a record the result is
// the text so found for the last non-record line, or empty when the key does not occur or
// no ";" follows it. Case-sensitive; every call starts at the beginning. One pass over the
// whole text per call: for several labels use FindObjectRecords.
std::string FindObjectRecord(std::string_view storeText, const std::string& label);

// The value of attribute `key` (for example ":MaxAnz=") in `record`: the text behind the
// first occurrence of the key up to the next ":". Throws Error 5 naming the key when the
// record lacks it or no ":" follows its value.
std::string GetRecordAttribute(std::string_view record, const std::string& key);

}  // namespace quenda
