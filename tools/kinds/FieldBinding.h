// How a field's value reaches the C++ call bound to it, and how what a getter gives becomes JSON:
// the conversions follow the types of the bound calls, so each field names its call and nothing
// else. Included by Fields.h.
#pragma once

#include <array>

#include <map>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>

namespace binding {

// The class and the parameters of a callable: a member function's (after its object), a data
// member's (as the one value it holds), a function's or a function object's.
template <class F, class = void>
struct Signature;
template <class R, class C, class... A>
struct Signature<R (C::*)(A...), void> {
  using Class = C;
  using Params = std::tuple<A...>;
};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const, void> : Signature<R (C::*)(A...)> {};
template <class V, class C>
struct Signature<V C::*, std::enable_if_t<!std::is_function_v<V>>> {
  using Class = C;
  using Params = std::tuple<V>;
};
template <class R, class... A>
struct Signature<R (*)(A...), void> {
  using Class = void;
  using Params = std::tuple<A...>;
};
template <class F>
struct Signature<F, std::void_t<decltype(&F::operator())>> {
  using Class = void;
  using Params = typename Signature<decltype(&F::operator())>::Params;
};

template <class Params>
struct Decayed;
template <class... A>
struct Decayed<std::tuple<A...>> {
  using Args = std::tuple<std::decay_t<A>...>;
};

// The parameters of a callable that takes no object: a value's constructor.
template <class F>
using CreatorArgs = typename Decayed<typename Signature<F>::Params>::Args;

// The object and the other parameters of a call bound to a field: a member's class, or the first
// parameter of a function or function object.
template <class F, class C = typename Signature<F>::Class, class P = typename Signature<F>::Params>
struct Call : Decayed<P> {
  using Object = C;
};
template <class F, class O, class... A>
struct Call<F, void, std::tuple<O&, A...>> : Decayed<std::tuple<A...>> {
  using Object = std::remove_const_t<O>;
};

template <class T>
struct IsVector : std::false_type {};
template <class T, class A>
struct IsVector<std::vector<T, A>> : std::true_type {};
template <class T>
struct IsMap : std::false_type {};
template <class K, class V, class C, class A>
struct IsMap<std::map<K, V, C, A>> : std::true_type {};
template <class T, class = void>
struct IsRange : std::false_type {};
template <class T>
struct IsRange<T, std::void_t<decltype(std::declval<const T&>().begin())>> : std::true_type {};
template <class T, class = void>
struct IsPointerLike : std::is_pointer<T> {};
template <class T>
struct IsPointerLike<
    T, std::void_t<decltype(*std::declval<const T&>()), decltype(bool(std::declval<const T&>()))>>
    : std::true_type {};

template <class T>
Target targetOf(const T& object) {
  // Getters that read lazily are not const; every object read is the helper's own or a copy.
  T& target = const_cast<T&>(object);
  if constexpr (std::is_base_of_v<ActionHandlerBase, T>) {
    return {std::ref(target), &target};
  } else {
    return {std::ref(target)};
  }
}

template <class T>
T& targetAs(const Target& target) {
  if (auto* exact = std::any_cast<std::reference_wrapper<T>>(&target.object)) return exact->get();
  if constexpr (std::is_base_of_v<ActionHandlerBase, T>) {
    if (T* helper = dynamic_cast<T*>(target.helper)) return *helper;
  }
  throw std::logic_error("table of kinds: a field is bound to an object of another type");
}

// An element given as XML text; the handle keeps its parsed document alive.
ORVIDOM_Element parsedElement(const std::string& text, const Place* at);

template <class V>
V fromJson(const Field& f, const Json& v, Fill& fill);

// The value of an argument field in the object `in`; V's empty value when it is not given.
template <class V>
V argumentValue(const Field& f, const Json& in, Fill& fill) {
  const auto v = in.find(f.name);
  if (v == in.end()) {
    if constexpr (std::is_default_constructible_v<V>) return V{};
    throw std::logic_error("table of kinds: " + f.name + " has no value to take when absent");
  }
  const Place* outer = fill.at;
  const Place field{outer, &f.name};
  fill.at = &field;
  V value = fromJson<V>(f, *v, fill);
  fill.at = outer;
  return value;
}

// The argument fields of an object, in order, converted to the types of the call's parameters.
template <class... A, std::size_t... I>
std::tuple<A...> arguments(const std::array<const Field*, sizeof...(A)>& fields, const Json& in,
                           Fill& fill, std::index_sequence<I...>) {
  return std::tuple<A...>{argumentValue<A>(*fields[I], in, fill)...};
}
template <class... A>
std::tuple<A...> argumentsOf(std::tuple<A...>*, const std::vector<Field>& fields, const Json& in,
                             Fill& fill) {
  // On the stack: this runs for every object of a description.
  std::array<const Field*, sizeof...(A)> taken{};
  std::size_t count = 0;
  for (const Field& f : fields) {
    if (f.argument && count++ < sizeof...(A)) taken[count - 1] = &f;
  }
  if (count != sizeof...(A)) {
    throw std::logic_error("table of kinds: a call takes " + std::to_string(sizeof...(A)) +
                           " arguments, its object has " + std::to_string(count));
  }
  return arguments<A...>(taken, in, fill, std::index_sequence_for<A...>{});
}

template <class V>
V fromJson(const Field& f, const Json& v, Fill& fill) {
  const auto isTrue = [&v] { return v == true || v == "true"; };
  if constexpr (std::is_same_v<V, I18NString>) {
    return I18NString(v.get_ref<const std::string&>());
  } else if constexpr (std::is_same_v<V, bool>) {
    return isTrue();
  } else if constexpr (std::is_enum_v<V> || std::is_arithmetic_v<V>) {
    if (f.type == FieldType::Boolean) return static_cast<V>(isTrue() ? 1 : 0);
    if constexpr (std::is_enum_v<V>) {
      return static_cast<V>(f.valueNamed(v.get_ref<const std::string&>()));
    }
    if constexpr (std::is_arithmetic_v<V>) return v.get<V>();
  } else if constexpr (std::is_same_v<V, I18NLocale>) {
    return I18NLocale(I18NString(v.get<std::string>()));
  } else if constexpr (std::is_same_v<V, ORVIDOM_Element>) {
    return parsedElement(v.get<std::string>(), fill.at);
  } else if constexpr (std::is_pointer_v<V>) {
    // Kept until the document is made, as the helper keeps only the pointer.
    using Pointee = std::remove_cv_t<std::remove_pointer_t<V>>;
    auto kept = std::make_shared<const Pointee>(fromJson<Pointee>(f, v, fill));
    fill.kept.push_back(kept);
    return kept.get();
  } else if constexpr (IsVector<V>::value) {
    V out;
    for (const Json& item : v) out.push_back(fromJson<typename V::value_type>(*f.item, item, fill));
    return out;
  } else if constexpr (IsMap<V>::value) {
    V out;
    for (const auto& [key, item] : v.items()) out.emplace(key, item.template get<std::string>());
    return out;
  } else {
    return std::any_cast<V>(f.shape->build(v, fill));
  }
}

template <class V>
Ordered toJson(const Field& f, const V& v) {
  if constexpr (std::is_same_v<V, Ordered>) {
    return v;
  } else if constexpr (std::is_same_v<V, I18NString>) {
    return v.str();
  } else if constexpr (std::is_same_v<V, std::string>) {
    return v;
  } else if constexpr (std::is_same_v<V, bool>) {
    return v;
  } else if constexpr (std::is_enum_v<V> || std::is_arithmetic_v<V>) {
    if (f.type == FieldType::Boolean) return v != 0;
    if constexpr (std::is_enum_v<V>) return f.names.nameOf(static_cast<int>(v));
    if constexpr (std::is_arithmetic_v<V>) return v;
  } else if constexpr (std::is_same_v<V, ORVIDOM_Element>) {
    return v.isNull() ? Ordered() : Ordered(ORVIDOM_Writer::toString(v));
  } else if constexpr (IsPointerLike<V>::value) {
    return v ? toJson(f, *v) : Ordered();
  } else {
    if (f.shape) return readFields(f.shape->fields, targetOf(v));
    if constexpr (IsRange<V>::value) {
      Ordered out = Ordered::array();
      if constexpr (IsVector<V>::value) out.get_ref<Ordered::array_t&>().reserve(v.size());
      for (const auto& item : v) out.push_back(toJson(*f.item, item));
      return out;
    }
    throw std::logic_error(f.name + ": a getter gives a value the field cannot hold");
  }
}

// Calls `create` with the arguments, as lvalues, so that it may take them by reference.
template <class Create, class Args>
decltype(auto) createWith(const Create& create, Args& args) {
  return std::apply([&](auto&... a) -> decltype(auto) { return create(a...); }, args);
}

// Calls `add` on the target with the arguments.
template <class Add, class Object, class Args>
decltype(auto) callWith(const Add& add, Object& target, Args& args) {
  return std::apply([&](auto&... a) -> decltype(auto) { return std::invoke(add, target, a...); },
                    args);
}

// Adds an object (of a field that is one, or an item of a list of them) by `add`, from its
// argument fields, and sets its other fields on what `add` returns.
template <class Add, class Object>
void addObject(const Add& add, Object& target, const Shape& shape, const Json& in, Fill& fill) {
  auto args = argumentsOf(static_cast<typename Call<Add>::Args*>(nullptr), shape.fields, in, fill);
  using Made = decltype(callWith(add, target, args));
  if constexpr (std::is_void_v<Made>) {
    callWith(add, target, args);
  } else if constexpr (std::is_pointer_v<std::decay_t<Made>>) {
    setFields(shape.fields, targetOf(*callWith(add, target, args)), in, fill);
  } else {
    auto&& made = callWith(add, target, args);
    setFields(shape.fields, targetOf(made), in, fill);
  }
}

// Whether a call takes one vector, whole.
template <class Args>
struct TakesVector : std::false_type {};
template <class V>
struct TakesVector<std::tuple<V>> : IsVector<V> {};

// A key of a map, by the value of its name or as the name itself.
template <class Key>
Key keyNamed(const Field& f, const std::string& name) {
  if constexpr (std::is_enum_v<Key>) {
    return static_cast<Key>(f.valueNamed(name));
  } else {
    return Key(name);
  }
}

template <class Set>
void applySet(const Set& set, const Field& f, const Target& target, const Json& v, Fill& fill) {
  using Object = typename Call<Set>::Object;
  using Args = typename Call<Set>::Args;
  // A call that takes an element is made on the element Make wrote.
  Object& object = [&]() -> Object& {
    if constexpr (std::is_same_v<Object, ORVIDOM_Element>) {
      return fill.made;
    } else {
      return targetAs<Object>(target);
    }
  }();
  const Field* items = f.type == FieldType::List ? f.item.get() : nullptr;
  const std::shared_ptr<const Shape>& objects = items ? items->shape : f.shape;
  if constexpr (std::is_same_v<Args, std::tuple<Json, Fill>>) {
    std::invoke(set, object, v, fill);
  } else if constexpr (TakesVector<Args>::value) {
    std::tuple_element_t<0, Args> value = fromJson<std::tuple_element_t<0, Args>>(f, v, fill);
    std::invoke(set, object, value);
  } else if constexpr (std::is_member_object_pointer_v<Set>) {
    std::invoke(set, object) = fromJson<std::tuple_element_t<0, Args>>(f, v, fill);
  } else if (objects && items) {
    const Place* outer = fill.at;
    for (std::size_t i = 0; i < v.size(); ++i) {
      const Place item{outer, nullptr, i};
      fill.at = &item;
      addObject(set, object, *objects, v[i], fill);
    }
    fill.at = outer;
  } else if (objects) {
    addObject(set, object, *objects, v, fill);
  } else if constexpr (std::tuple_size_v<Args> == 2) {
    using Key = std::tuple_element_t<0, Args>;
    using Value = std::tuple_element_t<1, Args>;
    for (const auto& [name, given] : v.items()) {
      Key key = keyNamed<Key>(f, name);
      Value value = fromJson<Value>(f, given, fill);
      std::invoke(set, object, key, value);
    }
  } else if constexpr (std::tuple_size_v<Args> == 1) {
    using Value = std::tuple_element_t<0, Args>;
    if (items) {
      for (const Json& item : v) {
        Value value = fromJson<Value>(*items, item, fill);
        std::invoke(set, object, value);
      }
    } else {
      Value value = fromJson<Value>(f, v, fill);
      std::invoke(set, object, value);
    }
  }
}

}  // namespace binding

template <class Set, class Get>
Field& Field::on(Set setter, Get getter) {
  if constexpr (!std::is_null_pointer_v<Set>) {
    set = [setter](const Field& f, const Target& target, const Json& v, Fill& fill) {
      binding::applySet(setter, f, target, v, fill);
    };
  }
  if constexpr (!std::is_null_pointer_v<Get>) {
    get = [getter](const Field& f, const Target& target) -> Ordered {
      using Object = typename binding::Call<Get>::Object;
      Object& object = binding::targetAs<Object>(target);
      // A getter that gives JSON gives the value read, not to be copied.
      if constexpr (std::is_same_v<decltype(std::invoke(getter, object)), Ordered>) {
        return std::invoke(getter, object);
      } else {
        return binding::toJson(f, std::invoke(getter, object));
      }
    };
  }
  return *this;
}

// The value a getter that fills its argument gives.
template <class Get>
auto filled(Get get) {
  using Object = typename binding::Call<Get>::Object;
  return [get](Object& object) {
    std::tuple_element_t<0, typename binding::Call<Get>::Args> value{};
    (object.*get)(value);
    return value;
  };
}

template <class Get>
Field& Field::arg(Get getter) {
  argument = true;
  return on(nullptr, getter);
}

// A shape whose objects stand for values that `create` makes from their argument fields, in
// order; their other fields are then set on the value made. Calls that take such a value whole
// take it built from the object given.
template <class Create>
std::shared_ptr<const Shape> valueShape(std::vector<Field> fields, Create create) {
  auto made = std::make_shared<Shape>();
  made->fields = std::move(fields);
  const Shape* self = made.get();
  made->build = [create, self](const Json& in, Fill& fill) -> std::any {
    using Args = binding::CreatorArgs<Create>;
    auto args = binding::argumentsOf(static_cast<Args*>(nullptr), self->fields, in, fill);
    auto value = binding::createWith(create, args);
    setFields(self->fields, binding::targetOf(value), in, fill);
    return value;
  };
  return made;
}
