#include "engine/expression_cache.h"

#include "engine/errors.h"
#include "engine/evaluator.h"

namespace qx {

namespace {

struct CacheSlot {
    bool used;
    int key;
    CompiledExpression compiled;
};
CacheSlot g_cache[EXPRESSION_CACHE_SLOTS];
// Compiled form of a stored expression that found every slot taken.
CompiledExpression g_uncached;

}  // namespace

void evaluate_stored_expression(int key, const TokenCode* tokens, int count) {
    // A compile behind a pending error would be cut short and must not be
    // kept; nothing runs while an error is pending anyway.
    if (error_pending()) return;
    if (count < 0) count = 0;
    if (count > STORED_EXPRESSION_TOKENS) count = STORED_EXPRESSION_TOKENS;
    for (CacheSlot& slot : g_cache) {
        if (slot.used && slot.key == key) {
            run_and_store(slot.compiled);
            return;
        }
    }
    CompiledExpression* target = &g_uncached;
    for (CacheSlot& slot : g_cache) {
        if (!slot.used) {
            slot.used = true;
            slot.key = key;
            target = &slot.compiled;
            break;
        }
    }
    compile_expression(tokens, count, *target);
    run_and_store(*target);
}

void clear_expression_cache() {
    for (CacheSlot& slot : g_cache) {
        slot.used = false;
        slot.key = -1;
    }
}

}  // namespace qx
