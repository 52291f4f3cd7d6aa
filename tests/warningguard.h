#ifndef WARNINGGUARD_H
#define WARNINGGUARD_H

// Turns every Qt warning, critical or fatal message into a test failure, so that
// a mistyped connection signature or any other run-time complaint of the toolkit
// cannot pass unnoticed. Messages still reach the test log.
//
// Call install() from initTestCase(): QTest installs its own handler when the
// run starts, and this one must sit in front of it.
namespace WarningGuard
{

void install();

} // namespace WarningGuard

#endif // WARNINGGUARD_H
