#pragma once

// Marks an error the user is told about as an expected failure, in the program's own
// message box: it is no fault of the program (another workstation changed the record
// being saved, say), so it is not written to the error log. Mixed into an exception class.
class ExpectedFailure
{
public:
    virtual ~ExpectedFailure() = default;
};
