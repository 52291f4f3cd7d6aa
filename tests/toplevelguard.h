#ifndef TOPLEVELGUARD_H
#define TOPLEVELGUARD_H

// Keeps the windows of one test function from reaching the next. A failed
// QVERIFY or QCOMPARE returns at once, past the code that would have closed the
// test's dialog; left standing, that dialog would fail every later test
// function of the executable.
//
// Call closeLeftovers() from cleanup(), once the test case has freed its own
// windows: it deletes every top-level widget still there and fails the test
// function that left it, naming each one.
namespace TopLevelGuard
{

void closeLeftovers();

} // namespace TopLevelGuard

#endif // TOPLEVELGUARD_H
