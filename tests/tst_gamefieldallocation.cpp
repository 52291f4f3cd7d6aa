#include <QTest>

#include <cstdlib>
#include <new>

#include "model/engine/gamefield.h"
#include "warningguard.h"

// This test replaces the global allocation functions of its own executable so
// that it can make the n-th allocation fail and count what is still held.
namespace
{

bool tracking = false;
long failingAllocation = -1; // index of the tracked allocation that throws; -1: none
long trackedAllocations = 0;
long liveAllocations = 0;

void *allocate(std::size_t size)
{
    if (tracking) {
        if (trackedAllocations++ == failingAllocation)
            throw std::bad_alloc();
        ++liveAllocations;
    }
    if (void *memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void release(void *memory) noexcept
{
    if (!memory)
        return;
    if (tracking)
        --liveAllocations;
    std::free(memory);
}

} // namespace

void *operator new(std::size_t size) { return allocate(size); }

void *operator new[](std::size_t size) { return allocate(size); }

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void *memory) noexcept { release(memory); }

void operator delete[](void *memory) noexcept { release(memory); }

void operator delete(void *memory, std::size_t) noexcept { release(memory); }

void operator delete[](void *memory, std::size_t) noexcept { release(memory); }

void operator delete(void *memory, const std::nothrow_t &) noexcept { release(memory); }

void operator delete[](void *memory, const std::nothrow_t &) noexcept { release(memory); }

// A field whose construction runs out of memory part way must give back all
// it took before the exception leaves.
class TestGameFieldAllocation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failedConstructionFreesEverything();
};

void TestGameFieldAllocation::initTestCase()
{
    WarningGuard::install();

    // A memory checker such as valgrind puts its own allocator in place of
    // ours, for all calls or for those that go through the procedure linkage
    // table, as calls from position-independent libraries do.
    trackedAllocations = 0;
    tracking = true;
    delete new int(0);
    delete new GameField;
    tracking = false;
    if (trackedAllocations <= 2)
        QSKIP("the allocation functions are replaced by a memory checker");
}

void TestGameFieldAllocation::failedConstructionFreesEverything()
{
    // Count the allocations of one successful construction first.
    trackedAllocations = 0;
    liveAllocations = 0;
    failingAllocation = -1;
    tracking = true;
    auto *field = new GameField;
    const long perField = trackedAllocations - 1; // the object itself
    delete field;
    tracking = false;
    QCOMPARE(liveAllocations, 0L);
    QCOMPARE(perField, 4L * (1 + GameField::BufferSize));

    // Then let each of them fail in turn: nothing may stay allocated.
    for (long failAt = 0; failAt < perField; ++failAt) {
        trackedAllocations = 0;
        liveAllocations = 0;
        failingAllocation = failAt;
        bool thrown = false;
        tracking = true;
        try {
            GameField failing;
        } catch (const std::bad_alloc &) {
            thrown = true;
        }
        tracking = false;
        QVERIFY2(thrown, qPrintable(QString("allocation %1 did not fail").arg(failAt)));
        QVERIFY2(liveAllocations == 0,
            qPrintable(QString("failing allocation %1 left %2 blocks behind").arg(failAt).arg(liveAllocations)));
    }
}

QTEST_GUILESS_MAIN(TestGameFieldAllocation)
#include "tst_gamefieldallocation.moc"
