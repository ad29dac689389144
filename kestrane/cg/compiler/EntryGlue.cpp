// Emitter: main(), which binds the entry function's semantics to GLSL's
// built-in attributes, varyings and outputs of a compatibility context.
//
// Vertex inputs: POSITION gl_Vertex, NORMAL gl_Normal, COLOR0 gl_Color,
// COLOR1 gl_SecondaryColor, TEXCOORDn gl_MultiTexCoordn, FOGCOORD gl_FogCoord,
// ATTRn generic attribute n (ATTR0 is the position), TANGENT and BINORMAL
// generic 14 and 15, BLENDWEIGHT 1, PSIZE 6, BLENDINDICES 7.
// Vertex outputs: POSITION gl_Position, COLOR0/1 gl_FrontColor /
// gl_FrontSecondaryColor, BCOL0/1 the back colours, TEXCOORDn gl_TexCoord[n],
// PSIZE gl_PointSize, FOG gl_FogFragCoord.
// Fragment inputs: TEXCOORDn gl_TexCoord[n], COLOR0/1 gl_Color /
// gl_SecondaryColor, POSITION/WPOS gl_FragCoord, FOG gl_FogFragCoord, FACE.
// Fragment outputs: COLOR gl_FragColor (gl_FragData[n] once COLORn, n > 0, is
// written), DEPTH gl_FragDepth.
// Missing components are filled as Cg fills them, from (0, 0, 0, 1).
#include "kestrane/cg/compiler/Emitter.h"

#include <algorithm>
#include <cctype>

namespace Kestrane::CgCompiler {

namespace {

struct Semantic {
    std::string name;  // without the index: "TEXCOORD"
    int index = 0;     // trailing number, 0 when none; 99 when out of range
};

Semantic split(const std::string& semantic) {
    size_t digits = semantic.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(semantic[digits - 1]))) --digits;
    Semantic s;
    s.name = semantic.substr(0, digits);
    std::string number = semantic.substr(digits);
    if (number.size() > 2) s.index = 99;
    else if (!number.empty()) s.index = std::stoi(number);
    return s;
}

// text (have components of base from) as type target: truncated, or padded
// from (0, 0, 0, 1), and converted.
std::string fit(const std::string& text, Base from, int have, const Type& target) {
    int want = target.columns;
    std::string value = text;
    if (want < have) value += "." + std::string("xyzw").substr(0, static_cast<size_t>(want));
    std::string pads;
    for (int c = have; c < want; ++c) pads += c == 3 ? ", 1.0" : ", 0.0";
    if (pads.empty() && from == target.base) return value;
    return glslTypeName(target) + "(" + value + pads + ")";
}

}  // namespace

// TEXCOORD8 and up have no built-in varying: both stages declare the same
// named one, so they meet by name.
std::string Emitter::namedVarying(int index) {
    namedVaryings_.insert(index);
    return "kc_texcoord" + std::to_string(index);
}

int Emitter::attribute(int location) {
    std::string name = "kc_attr" + std::to_string(location);
    attributes_[location] = name;
    return location;
}

std::string Emitter::inputSource(const std::string& semantic, SourcePos pos, int& components) {
    Semantic s = split(semantic);
    components = 4;
    auto generic = [&](int location) { return attributes_[attribute(location)]; };
    if (stage_ == Stage::Vertex) {
        if ((s.name == "POSITION" && s.index == 0) || (s.name == "ATTR" && s.index == 0)) return "gl_Vertex";
        if (s.name == "NORMAL" && s.index == 0) {
            components = 3;
            return "gl_Normal";
        }
        if ((s.name == "COLOR" && s.index == 0) || s.name == "DIFFUSE") return "gl_Color";
        if ((s.name == "COLOR" && s.index == 1) || s.name == "SPECULAR") return "gl_SecondaryColor";
        if (s.name == "TEXCOORD" && s.index < 8) return "gl_MultiTexCoord" + std::to_string(s.index);
        if (s.name == "FOGCOORD" && s.index == 0) {
            components = 1;
            return "gl_FogCoord";
        }
        if (s.name == "ATTR" && s.index < 16) return generic(s.index);
        if (s.name == "TANGENT" && s.index == 0) return generic(14);
        if (s.name == "BINORMAL" && s.index == 0) return generic(15);
        if (s.name == "BLENDWEIGHT" && s.index == 0) return generic(1);
        if (s.name == "PSIZE" && s.index == 0) return generic(6);
        if (s.name == "BLENDINDICES" && s.index == 0) return generic(7);
    } else {
        if (s.name == "TEXCOORD" && s.index < 8) return "gl_TexCoord[" + std::to_string(s.index) + "]";
        if (s.name == "TEXCOORD" && s.index < varyingSlots) return namedVarying(s.index);
        if (s.name == "COLOR" && s.index == 0) return "gl_Color";
        if (s.name == "COLOR" && s.index == 1) return "gl_SecondaryColor";
        if ((s.name == "POSITION" || s.name == "WPOS") && s.index == 0) return "gl_FragCoord";
        components = 1;
        if ((s.name == "FOG" || s.name == "FOGC" || s.name == "FOGCOORD") && s.index == 0) return "gl_FogFragCoord";
        if ((s.name == "FACE" || s.name == "VFACE") && s.index == 0) return "(gl_FrontFacing ? 1.0 : -1.0)";
    }
    error(pos, "semantic '" + semantic + "' is not supported for " +
                   (stage_ == Stage::Vertex ? "vertex" : "fragment") + " program inputs");
    return "";
}

std::string Emitter::outputTarget(const std::string& semantic, SourcePos pos, int& components) {
    Semantic s = split(semantic);
    components = 4;
    if (stage_ == Stage::Vertex) {
        if ((s.name == "POSITION" || s.name == "HPOS") && s.index == 0) return "gl_Position";
        if ((s.name == "COLOR" || s.name == "COL") && s.index == 0) return "gl_FrontColor";
        if ((s.name == "COLOR" || s.name == "COL") && s.index == 1) return "gl_FrontSecondaryColor";
        if (s.name == "BCOL" && s.index == 0) return "gl_BackColor";
        if (s.name == "BCOL" && s.index == 1) return "gl_BackSecondaryColor";
        if ((s.name == "TEXCOORD" || s.name == "TEX") && s.index < 8) return "gl_TexCoord[" + std::to_string(s.index) + "]";
        if ((s.name == "TEXCOORD" || s.name == "TEX") && s.index < varyingSlots) return namedVarying(s.index);
        components = 1;
        if ((s.name == "PSIZE" || s.name == "PSIZ") && s.index == 0) return "gl_PointSize";
        if ((s.name == "FOG" || s.name == "FOGC") && s.index == 0) return "gl_FogFragCoord";
    } else {
        if ((s.name == "COLOR" || s.name == "COL") && s.index < 4) {
            if (s.index > 0) fragmentData_ = true;
            return s.index == 0 ? "gl_FragColor" : "gl_FragData[" + std::to_string(s.index) + "]";
        }
        components = 1;
        if ((s.name == "DEPTH" || s.name == "DEPR") && s.index == 0) return "gl_FragDepth";
    }
    error(pos, "semantic '" + semantic + "' is not supported for " +
                   (stage_ == Stage::Vertex ? "vertex" : "fragment") + " program outputs");
    return "";
}

// Varyings of one direction (the entry's inputs, or its outputs) without a
// semantic take TEXCOORDn slots once every explicit semantic of that direction
// is known: the lowest slot no explicit TEXCOORDn of the signature uses, in
// parameter and member order. Every member of a struct the program uses takes
// a slot, read or not, so a vertex output and a fragment input of one struct
// agree even when one stage leaves a member alone; a struct none of whose
// members the program uses (a placeholder such as "bool dummy;") takes none.
// Slots 0-7 are gl_TexCoord[n], 8-15 named varyings.
void Emitter::assignSlots(const std::vector<std::pair<std::string, const VarDecl*>>& roots) {
    struct Leaf {
        std::string path;
        const VarDecl* var;
        const StructDecl* parent;
    };
    std::vector<Leaf> leaves;
    std::vector<Leaf> pending;
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) pending.push_back({root->first, root->second, nullptr});
    while (!pending.empty()) {
        Leaf leaf = pending.back();
        pending.pop_back();
        const Type& t = leaf.var->type;
        if (t.base != Base::Struct || t.isArray() || !t.structDecl) {
            leaves.push_back(leaf);
            continue;
        }
        const auto& members = t.structDecl->members;
        for (auto m = members.rbegin(); m != members.rend(); ++m)
            if (!(*m)->uniformQualifier) pending.push_back({leaf.path + "." + (*m)->glslName, m->get(), t.structDecl});
    }
    auto used = [](const StructDecl* s) {
        return std::any_of(s->members.begin(), s->members.end(), [](const auto& m) { return m->referenced; });
    };
    std::set<int> taken;
    for (const Leaf& leaf : leaves) {
        Semantic s = split(leaf.var->semantic);
        if (s.name == "TEXCOORD" || s.name == "TEX") taken.insert(s.index);
    }
    int next = 0;
    for (const Leaf& leaf : leaves) {
        if (!leaf.var->semantic.empty() || !leaf.parent || !used(leaf.parent)) continue;
        while (taken.count(next)) ++next;
        if (next >= varyingSlots) {
            if (leaf.var->referenced)
                error(leaf.var->pos, "no free TEXCOORD slot for member '" + leaf.var->name + "' (give it a semantic)");
            continue;
        }
        slots_[leaf.path] = "TEXCOORD" + std::to_string(next);
        taken.insert(next);
    }
}

std::string Emitter::memberSemantic(const std::string& path, const VarDecl& member) const {
    if (!member.semantic.empty()) return member.semantic;
    auto found = slots_.find(path);
    return found == slots_.end() ? "" : found->second;
}

void Emitter::bindInputs(const std::string& path, const Type& type, const std::string& semantic, const VarDecl& where,
                         Lines& out) {
    if (type.base == Base::Struct && !type.isArray()) {
        for (const auto& member : type.structDecl->members) {
            std::string memberPath = path + "." + member->glslName;
            if (member->uniformQualifier) {
                error(member->pos, "uniform member '" + member->name + "' of struct '" + type.structDecl->name +
                                       "' in a varying input of '" + entry_.name +
                                       "' is not supported: pass the struct as a uniform parameter");
                continue;
            }
            std::string memberSem = memberSemantic("in:" + memberPath, *member);
            if (member->semantic.empty() && member->type.base != Base::Struct && !member->referenced) continue;
            if (memberSem.empty() && member->type.base != Base::Struct) {
                error(member->pos, "member '" + member->name + "' of struct '" + type.structDecl->name +
                                       "' needs a semantic: it is an input of '" + entry_.name + "'");
                continue;
            }
            bindInputs(memberPath, member->type, memberSem, *member, out);
        }
        return;
    }
    if (semantic.empty()) {
        error(where.pos, "input '" + where.name + "' of '" + entry_.name + "' needs a semantic or 'uniform'");
        return;
    }
    if (!type.isScalar() && !type.isVector()) {
        error(where.pos, cgTypeName(type) + " '" + where.name + "' cannot be bound to semantic '" + semantic + "'");
        return;
    }
    int components = 0;
    std::string source = inputSource(semantic, where.pos, components);
    if (!source.empty()) {
        auto [known, added] = inputsRead_.emplace(source, where.semantic.empty());
        if (!added && (known->second || where.semantic.empty())) {
            error(where.pos, "input '" + where.name + "' reads " + semantic +
                                 ", which another input also reads (a member without a semantic takes a free TEXCOORD slot: give it one)");
            return;
        }
    }
    if (!source.empty()) out.push_back({"    " + path + " = " + fit(source, Base::Float, components, type) + ";", where.pos});
}

void Emitter::bindOutputs(const std::string& path, const Type& type, const std::string& semantic, const VarDecl* where,
                          SourcePos pos, Lines& out) {
    std::string name = where ? where->name : "return value";
    if (where) pos = where->pos;
    if (type.base == Base::Struct && !type.isArray()) {
        for (const auto& member : type.structDecl->members) {
            std::string memberPath = path + "." + member->glslName;
            if (member->uniformQualifier) {
                error(member->pos, "uniform member '" + member->name + "' of struct '" + type.structDecl->name +
                                       "' in an output of '" + entry_.name + "' is not supported");
                continue;
            }
            std::string memberSem = memberSemantic("out:" + memberPath, *member);
            if (member->semantic.empty() && member->type.base != Base::Struct && !member->referenced) continue;
            if (memberSem.empty() && member->type.base != Base::Struct) {
                error(member->pos, "member '" + member->name + "' of struct '" + type.structDecl->name +
                                       "' needs a semantic: it is an output of '" + entry_.name + "'");
                continue;
            }
            bindOutputs(memberPath, member->type, memberSem, member.get(), pos, out);
        }
        return;
    }
    if (semantic.empty()) {
        error(pos, "output '" + name + "' of '" + entry_.name + "' needs a semantic");
        return;
    }
    if (!type.isScalar() && !type.isVector()) {
        error(pos, cgTypeName(type) + " '" + name + "' cannot be bound to semantic '" + semantic + "'");
        return;
    }
    int components = 0;
    std::string target = outputTarget(semantic, pos, components);
    if (target.empty()) return;
    if (!outputsWritten_.insert(target).second) {
        error(pos, "output semantic '" + semantic + "' is written twice");
        return;
    }
    Type targetType = components == 1 ? Type::scalar(Base::Float) : Type::vector(Base::Float, components);
    out.push_back({"    " + target + " = " + fit(path, type.base, type.columns, targetType) + ";", pos});
}

void Emitter::emitMain(Result&) {
    SourcePos line = entry_.pos;
    main_.push_back({"", line});
    main_.push_back({"void main()", line});
    main_.push_back({"{", line});
    main_.insert(main_.end(), uniformCopies_.begin(), uniformCopies_.end());
    for (auto& g : program_.globals) {
        if (g->storage != Storage::GlobalStatic || !g->referenced || !g->init || (g->isConst && g->constantInit)) continue;
        main_.push_back({"    " + g->glslName + " = " + expr(*g->init, true) + ";", g->pos});
    }
    // Every parameter's path in main(), then the slots of each direction.
    std::vector<std::string> paths;
    std::vector<std::pair<std::string, const VarDecl*>> inputRoots, outputRoots;
    int count = 0;
    for (auto& p : entry_.params) {
        std::string path;
        if (p->splitStruct) path = "kc_split" + std::to_string(count);
        else if (p->storage != Storage::EntryUniform) path = "kc_in" + std::to_string(count++);
        paths.push_back(path);
        if (path.empty()) continue;
        if (p->mode != ParamMode::Out) inputRoots.emplace_back("in:" + path, p.get());
        if (p->mode != ParamMode::In) outputRoots.emplace_back("out:" + path, p.get());
    }
    if (!entry_.returnType.isVoid()) {
        returnVar_ = std::make_unique<VarDecl>();
        returnVar_->name = "return value";
        returnVar_->pos = entry_.pos;
        returnVar_->type = entry_.returnType;
        returnVar_->semantic = entry_.returnSemantic;
        outputRoots.emplace_back("out:kc_out", returnVar_.get());
    }
    assignSlots(inputRoots);
    assignSlots(outputRoots);

    std::string callArgs;
    std::vector<std::pair<std::string, const VarDecl*>> outputs;
    for (size_t i = 0; i < entry_.params.size(); ++i) {
        const auto& p = entry_.params[i];
        if (p->storage == Storage::EntryUniform) continue;
        if (p->splitStruct) {
            // Uniform members come from the struct's uniform; each varying one
            // from its semantic (or free slot) into a global.
            for (const auto& m : p->type.structDecl->members) {
                if (m->uniformQualifier) continue;
                std::string global = splitMember(*p, *m);
                declarations_.push_back({declaration(m->type, global) + ";", m->pos});
                std::string semantic = memberSemantic("in:" + paths[i] + "." + m->glslName, *m);
                if (semantic.empty()) {
                    if (m->referenced) error(m->pos, "member '" + m->name + "' of '" + p->name + "' needs a semantic");
                } else if (!m->semantic.empty() || m->referenced) {
                    bindInputs(global, m->type, semantic, *m, main_);
                }
            }
            continue;
        }
        if (p->type.isArray()) {
            error(p->pos, "array parameter '" + p->name + "' of an entry function is not supported");
            continue;
        }
        const std::string& local = paths[i];
        main_.push_back({"    " + glslTypeName(p->type) + " " + local + ";", p->pos});
        if (p->mode != ParamMode::Out) bindInputs(local, p->type, p->semantic, *p, main_);
        if (p->mode != ParamMode::In) outputs.emplace_back(local, p.get());
        callArgs += (callArgs.empty() ? "" : ", ") + local;
    }
    std::string call = entry_.glslName + "(" + callArgs + ")";
    if (entry_.returnType.isVoid()) {
        main_.push_back({"    " + call + ";", line});
    } else {
        main_.push_back({"    " + glslTypeName(entry_.returnType) + " kc_out = " + call + ";", line});
        bindOutputs("kc_out", entry_.returnType, entry_.returnSemantic, nullptr, entry_.pos, main_);
    }
    for (auto& [local, param] : outputs) bindOutputs(local, param->type, param->semantic, param, param->pos, main_);
    main_.push_back({"}", line});
    if (fragmentData_) {
        for (Line& l : main_) {
            size_t at = l.text.find("gl_FragColor");
            if (at != std::string::npos) l.text.replace(at, 12, "gl_FragData[0]");
        }
    }
    Lines attributes;
    for (const auto& [location, name] : attributes_) attributes.push_back({"attribute vec4 " + name + ";", SourcePos{}});
    for (int index : namedVaryings_) attributes.push_back({"varying vec4 kc_texcoord" + std::to_string(index) + ";", SourcePos{}});
    declarations_.insert(declarations_.begin(), attributes.begin(), attributes.end());
}

}  // namespace Kestrane::CgCompiler
