#!/usr/bin/python3
"""Finds expressions whose result may depend on the order in which their operands are evaluated.

    tools/evaluation_order_scan.py build/test/compile_commands.json [jobs]

clang evaluates a call's arguments left to right and g++ right to left, so such an expression
can pass the tests of one compiler and fail (or draw other random values) under the other. The
scan reads every translation unit of the project with libclang (Debian's python3-clang-14) and
reports:
- calls with two or more arguments (parenthesised constructor calls included; braced lists are
  evaluated in order and left out) and binary operators whose operands are unsequenced, where
  two operands reach a draw of crt_rand (through the call graph, virtual calls by name),
- such operands where one modifies (move, release, ++, assignment, ...) what another reads,
- such operands that both call a Read/Next/Pop/Take method of the same object.
Each line is a place to look, not a verdict: a sum of two draws, say, has the same value in
either order.
"""
import json
from collections import defaultdict
import os
import sys
from multiprocessing import Pool

import clang.cindex as ci

ci.Config.set_library_file('/usr/lib/llvm-14/lib/libclang-14.so.1')
K = ci.CursorKind
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__))) + '/'
RAND_ROOTS = {'crt_rand', 'crt_srand'}
MUTATORS = {'release', 'reset', 'swap', 'pop_back', 'pop_front', 'erase', 'clear', 'push_back',
            'emplace_back', 'insert', 'Release', 'move', 'forward', 'exchange', 'resize',
            'assign', 'Seek', 'Skip'}
STATEFUL_PREFIX = ('Read', 'Next', 'Pop', 'Take')
FUNCS = {K.FUNCTION_DECL, K.CXX_METHOD, K.CONSTRUCTOR, K.DESTRUCTOR, K.FUNCTION_TEMPLATE,
         K.CONVERSION_FUNCTION}
SEQUENCED_OPS = {'&&', '||', ',', '<<', '>>', '=', '+=', '-=', '*=', '/=', '%=', '&=', '|=',
                 '^=', '<<=', '>>='}


def in_project(cursor):
    f = cursor.location.file
    return f is not None and f.name.startswith(ROOT) and '/build/' not in f.name


def usr_of(c):
    r = c.referenced
    if r is None:
        return None
    return r.get_usr() or None


class Operand:
    def __init__(self):
        self.calls = set()      # usr
        self.callnames = set()  # (name, object usr)
        self.mods = set()
        self.refs = set()


def collect(node, op, skip_lambda=True):
    stack = [node]
    while stack:
        c = stack.pop()
        if skip_lambda and c.kind == K.LAMBDA_EXPR:
            continue
        if c.kind == K.CALL_EXPR:
            u = usr_of(c)
            if u:
                op.calls.add(u)
            name = c.spelling
            kids = list(c.get_children())
            obj = None
            if kids and kids[0].kind == K.MEMBER_REF_EXPR:
                mk = list(kids[0].get_children())
                if mk:
                    for d in mk[0].walk_preorder():
                        if d.kind in (K.DECL_REF_EXPR, K.MEMBER_REF_EXPR):
                            obj = usr_of(d)
                            break
            if name in MUTATORS:
                target = obj
                if target is None:
                    args = list(c.get_arguments())
                    if args:
                        for d in args[0].walk_preorder():
                            if d.kind in (K.DECL_REF_EXPR, K.MEMBER_REF_EXPR):
                                target = usr_of(d)
                                break
                if target:
                    op.mods.add(target)
            if name.startswith(STATEFUL_PREFIX) and obj:
                op.callnames.add((name[:4], obj))
        elif c.kind == K.UNARY_OPERATOR:
            toks = [t.spelling for t in c.get_tokens()]
            if toks and (toks[0] in ('++', '--') or toks[-1] in ('++', '--')):
                for d in c.walk_preorder():
                    if d.kind in (K.DECL_REF_EXPR, K.MEMBER_REF_EXPR):
                        u = usr_of(d)
                        if u:
                            op.mods.add(u)
                        break
        elif c.kind == K.COMPOUND_ASSIGNMENT_OPERATOR or (c.kind == K.BINARY_OPERATOR and
                                                          bin_op(c) == '='):
            kids = list(c.get_children())
            if kids:
                for d in kids[0].walk_preorder():
                    if d.kind in (K.DECL_REF_EXPR, K.MEMBER_REF_EXPR):
                        u = usr_of(d)
                        if u:
                            op.mods.add(u)
                        break
        if c.kind in (K.DECL_REF_EXPR, K.MEMBER_REF_EXPR):
            u = usr_of(c)
            if u and c.referenced is not None and c.referenced.kind in (
                    K.VAR_DECL, K.PARM_DECL, K.FIELD_DECL):
                op.refs.add(u)
        stack.extend(c.get_children())
    return op


def bin_op(c):
    kids = list(c.get_children())
    if len(kids) != 2:
        return None
    end = kids[0].extent.end.offset
    for t in c.get_tokens():
        if t.extent.start.offset >= end:
            return t.spelling
    return None


def is_braced(c):
    toks = list(c.get_tokens())
    for t in toks:
        if t.spelling == '{':
            return True
        if t.spelling == '(':
            return False
    return False


def scan_tu(entry):
    path = entry['file']
    args = entry['command'].split()[1:]
    args = [a for a in args if a not in ('-c',) and not a.endswith('.o') and a != path and a != '-o']
    idx = ci.Index.create()
    try:
        tu = idx.parse(path, args=args + ['-Wno-everything'])
    except Exception as e:  # noqa
        return {'file': path, 'error': str(e)}
    graph = {}
    exprs = []
    names = {}

    def visit_fn(fn):
        u = fn.get_usr()
        names[u] = fn.spelling
        callees = graph.setdefault(u, set())
        for c in fn.walk_preorder():
            if c.kind == K.CALL_EXPR:
                cu = usr_of(c)
                if cu:
                    callees.add(cu)
                    names[cu] = c.spelling

    def consider(c):
        operands = None
        what = None
        if c.kind == K.CALL_EXPR:
            args = list(c.get_arguments())
            if len(args) >= 2:
                ref = c.referenced
                if ref is not None and ref.kind == K.CONSTRUCTOR and is_braced(c):
                    return
                sp = c.spelling
                if sp.startswith('operator') and sp[8:].strip() in SEQUENCED_OPS:
                    return
                operands = args
                what = 'call ' + sp
        elif c.kind == K.BINARY_OPERATOR:
            op = bin_op(c)
            if op is not None and op not in SEQUENCED_OPS:
                operands = list(c.get_children())
                what = 'op ' + op
        if not operands:
            return
        ops = [collect(o, Operand()) for o in operands]
        exprs.append({
            'loc': f'{c.location.file.name}:{c.location.line}:{c.location.column}',
            'what': what,
            'ops': [{'calls': sorted(o.calls), 'mods': sorted(o.mods), 'refs': sorted(o.refs),
                     'stateful': sorted(map(list, o.callnames))} for o in ops],
        })

    seen = set()

    def project_nodes():
        stack = [c for c in tu.cursor.get_children() if in_project(c) or
                 c.kind in (K.NAMESPACE, K.LINKAGE_SPEC, K.UNEXPOSED_DECL)]
        while stack:
            c = stack.pop()
            if c.kind in (K.NAMESPACE, K.LINKAGE_SPEC, K.UNEXPOSED_DECL) and not in_project(c):
                stack.extend(k for k in c.get_children() if in_project(k) or
                             k.kind in (K.NAMESPACE, K.LINKAGE_SPEC, K.UNEXPOSED_DECL))
                continue
            yield c
            stack.extend(c.get_children())

    for c in project_nodes():
        if c.kind in FUNCS and c.is_definition():
            visit_fn(c)
        if c.kind in (K.CALL_EXPR, K.BINARY_OPERATOR):
            key = (c.location.file.name, c.location.line, c.location.column, c.kind.value)
            if key in seen:
                continue
            seen.add(key)
            consider(c)
    return {'file': path, 'graph': {k: sorted(v) for k, v in graph.items()}, 'exprs': exprs,
            'names': names}


def report(results):
    graph = defaultdict(set)
    names = {}
    exprs = {}
    for r in results:
        if 'error' in r:
            print('ERROR', r['file'], r['error'])
            continue
        for k, v in r['graph'].items():
            graph[k].update(v)
        names.update(r['names'])
        for e in r['exprs']:
            exprs[(e['loc'], e['what'])] = e

    # Functions that reach a random draw.
    rand_usrs = {u for u, n in names.items() if n in RAND_ROOTS}
    callers = defaultdict(set)
    for f, cs in graph.items():
        for c in cs:
            callers[c].add(f)
    reach = set(rand_usrs)
    todo = list(rand_usrs)
    while todo:
        u = todo.pop()
        for f in callers[u]:
            if f not in reach:
                reach.add(f)
                todo.append(f)
    # Virtual calls: a call to a method whose name is that of a reaching method counts too.
    reach_names = {names.get(u) for u in reach if names.get(u)}
    print('functions reaching a draw:', len(reach), file=sys.stderr)

    def draws(op, strict):
        for c in op['calls']:
            if c in reach:
                return True
            if not strict and names.get(c) in reach_names:
                return True
        return False

    found = []
    for (loc, what), e in sorted(exprs.items()):
        ops = e['ops']
        reasons = []
        for i in range(len(ops)):
            for j in range(i + 1, len(ops)):
                a, b = ops[i], ops[j]
                if draws(a, True) and draws(b, True):
                    reasons.append(f'draws in {i} and {j}')
                elif draws(a, False) and draws(b, False):
                    reasons.append(f'draws(virtual) in {i} and {j}')
                m = (set(a['mods']) & set(b['refs'])) | (set(b['mods']) & set(a['refs']))
                if m:
                    reasons.append(f'mod/ref {i},{j}: ' + ','.join(sorted(x.split('@')[-1] for x in m)))
                sa = {tuple(x) for x in a['stateful']}
                sb = {tuple(x) for x in b['stateful']}
                if sa & sb:
                    reasons.append(f'stateful {i},{j}: ' + ','.join(sorted(x[0] for x in sa & sb)))
        if reasons:
            found.append((loc, what, reasons))
    for loc, what, reasons in found:
        print(loc.replace(ROOT, ''), what, '; '.join(reasons))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    db = json.load(open(sys.argv[1]))
    db = [e for e in db if e['file'].startswith(ROOT) and '/build/' not in e['file']]
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count()
    with Pool(jobs) as pool:
        results = pool.map(scan_tu, db)
    report(results)


if __name__ == '__main__':
    main()
